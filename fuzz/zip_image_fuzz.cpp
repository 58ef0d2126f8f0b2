// The ZIP reader over any archive another program may have made: the member chosen by
// its size, the refusals and their texts, and the load, which never yields more than the
// member declared (a floppy's size) nor anything but whole, CRC-checked data. The first
// input byte chooses the name and the buffer; the rest is the file.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "engine/image/image_input.h"
#include "fuzz/scratch_folder.h"
#include "resources/string_ids.h"

namespace {

constexpr uint32_t kCapacities[] = {ImageInput::kChunkSize, 737280, 1474560, kLargestFloppyBytes};

bool KnownRefusal(unsigned id) {
    return id == IDS_ZIP_NO_IMAGE || id == IDS_ZIP_SEVERAL_IMAGES || id == IDS_ZIP_ENCRYPTED ||
           id == IDS_ZIP_METHOD || id == IDS_IMAGE_READ_FAILED;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const uint8_t choice = data[0];
    const std::string path = Scratch().Write(choice % 2 == 0 ? "disk.zip" : "disk.imz", data + 1, size - 1);
    const uint32_t capacity = kCapacities[(choice / 2) % 4];
    std::vector<char> buffer(capacity);

    ImageInput input;
    const InputOpen opened = input.Open(path.c_str(), true);
    if (opened == InputOpen::Refused) {
        const UserMessage message = input.Refusal();
        if (!KnownRefusal(message.id) || message.text == nullptr || strlen(message.text) >= 256) {
            abort();
        }
        return 0;
    }
    if (opened != InputOpen::Opened) {
        return 0;
    }
    uint32_t found = 0xDEADBEEF;
    const InputRead read = input.Load(buffer.data(), capacity, &found);
    if (read == InputRead::TooLarge || read == InputRead::Cancelled ||
        (read == InputRead::Data && FindFloppyTypeOfSize(found) == nullptr)) {
        abort();
    }
    return 0;
}
