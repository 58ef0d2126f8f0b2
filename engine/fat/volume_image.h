#pragma once
#include <stdint.h>

#include <vector>

#include "engine/image/image_input.h"
#include "platform/user_message.h"

// The whole disk an image of any kind holds, for reading its volume: the data as a
// write would load it (ImageInput), one disk of a format's size; compared with the
// checksum its trailer stores, when it stores one. Data without a stored checksum is not
// hashed: a listing has no use for the sum and would spend most of its time on it.
// 0 with `disk` filled; -1 after one message (the image check's for the same fault);
// kVolumeImageCancelled once `cancel` (unless nullptr) asks, with nothing shown.
constexpr int kVolumeImageCancelled = 1;
int LoadVolumeImage(const char* path, MessageSink& sink, LoadCancel* cancel, std::vector<uint8_t>* disk);
