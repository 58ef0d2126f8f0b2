#pragma once
#include <stddef.h>

#include <optional>
#include <string>

// The receiving end of a hand-over: a later start of the program sends the running
// instance one text, the image file it was started with, in a copy-data block. The
// block comes from another process and is read as foreign input: nothing beyond its
// stated size is read.
//
// Returns the image path: the text up to the block's first zero byte. Returns nothing
// when the block is no image name: no zero byte within `size` (also a null or empty
// block), an empty text, or a text longer than a Windows path can be (259 characters).
std::optional<std::string> HandedOverImagePath(const void* data, size_t size);
