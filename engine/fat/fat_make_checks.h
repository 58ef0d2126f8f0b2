#pragma once
#include <string>

#include "engine/device/floppy_type.h"
#include "engine/fat/fat_maker.h"
#include "platform/user_message.h"

// The checks before a volume is made from a folder, the same for every front end.

// The format of `kilobytes` (160 ... 2880), or nullptr for none Vorlix makes.
const FloppyType* FormatOfKilobytes(int kilobytes);

// 0 when the listed tree fits `type`; else -1 once `sink` has been told why not: the
// root's entries against what the format takes, or both sizes in bytes.
int CheckFatFits(const FatSourceItem& root, const FloppyType& type, const FatMakeOptions& options,
                 const std::string& folder, MessageSink& sink);
