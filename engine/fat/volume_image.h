#pragma once
#include <stddef.h>
#include <stdint.h>

#include <memory>

#include "engine/fat/mapped_disk.h"
#include "engine/image/image_input.h"
#include "platform/user_message.h"

// The whole disk an image of any kind holds, for reading its volume: the data as a
// write would load it (ImageInput), one disk of a format's size; compared with the
// checksum its trailer stores, when it stores one. Data without a stored checksum is not
// hashed: a listing has no use for the sum and would spend most of its time on it.
// 0 with `disk` filled; -1 after one message (the image check's for the same fault);
// kVolumeImageCancelled once `cancel` (unless nullptr) asks, with nothing shown.
constexpr int kVolumeImageCancelled = 1;

// A disk's bytes. Never filled with zeros first: the memory a disk image passes through
// is touched once, which is most of what listing a small disk costs.
struct DiskBytes {
    std::unique_ptr<uint8_t[]> data;
    size_t size = 0;
    // A raw image of a disk's exact size without a trailer is mapped instead of loaded.
    MappedDisk mapped;

    const uint8_t* Bytes() const { return data != nullptr ? data.get() : mapped.Data(); }
};

int LoadVolumeImage(const char* path, MessageSink& sink, LoadCancel* cancel, DiskBytes* disk);
