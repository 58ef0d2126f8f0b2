// The write job's image reader over any file: a raw image less the trailer it may end
// with, the bzip2 streams of a compressed one (decoded no further than the largest disk:
// the corpus holds a bomb), and the search for the stream in a self-extracting image;
// and the signature search itself over any bytes. The first input byte chooses the kind
// and the buffer; the rest is the file.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "engine/image/compressed_stream.h"
#include "engine/image/image_input.h"
#include "engine/image/signature_search.h"
#include "fuzz/scratch_folder.h"

namespace {

constexpr uint32_t kCapacities[] = {ImageInput::kChunkSize, ImageInput::kChunkSize + 1, 737280,
                                    1474560};

void LoadImage(const uint8_t* data, size_t size, uint8_t choice) {
    static const char* const kNames[] = {"image.img", "image.imz", "image.exe"};
    const char* name = kNames[choice % 3];
    const bool compressed = choice % 3 != 0;
    const std::string path = Scratch().Write(name, data, size);
    const uint32_t capacity = kCapacities[(choice / 3) % 4];
    std::vector<char> buffer(capacity);

    ImageInput input;
    const InputOpen opened = input.Open(path.c_str(), compressed);
    if (opened != InputOpen::Opened) {
        return;
    }
    uint32_t found = 0xDEADBEEF;
    const InputRead read = input.Load(buffer.data(), capacity, &found);
    // No more is decoded than the largest disk and one chunk; nothing else is cancelled.
    if ((read == InputRead::Data && found > kLargestFloppyBytes) ||
        (read == InputRead::TooLarge &&
         (found <= kLargestFloppyBytes || found > kLargestFloppyBytes + ImageInput::kChunkSize)) ||
        read == InputRead::Cancelled) {
        abort();
    }
    if (read == InputRead::Data && !compressed) {
        // A raw image is the file, or the file less one trailer.
        if (found != size && !(size >= 1024 && found == size - 1024) && !(size < 1024 && found == 0)) {
            abort();
        }
        if (memcmp(buffer.data(), data, found < capacity ? found : capacity) != 0) {
            abort();
        }
    }
    input.Close();
}

// SeekToSignature over an in-memory file: the signature is the first bytes of the input.
void SearchSignature(const uint8_t* data, size_t size) {
    if (size < 2) {
        return;
    }
    const int length = 1 + data[0] % 16;
    if (size < static_cast<size_t>(1 + length)) {
        return;
    }
    const unsigned char* signature = data + 1;
    std::vector<uint8_t> rest(data + 1 + length, data + size);
    if (rest.empty()) {
        return;
    }
    FILE* file = fmemopen(rest.data(), rest.size(), "rb");
    if (file == nullptr) {
        return;
    }
    const long limit = (data[0] & 0x80) != 0 ? -1 : static_cast<long>(rest.size() / 2);
    if (SeekToSignature(file, signature, length, limit) == 0) {
        // Found: the file stands at a copy of the signature, within the limit.
        const long at = ftell(file);
        if (at < 0 || static_cast<size_t>(at + length) > rest.size() ||
            memcmp(rest.data() + at, signature, static_cast<size_t>(length)) != 0 ||
            (limit >= 0 && at + length > limit)) {
            abort();
        }
    }
    fclose(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    LoadImage(data + 1, size - 1, data[0]);
    SearchSignature(data, size);
    return 0;
}
