#include "stub/stub_messages.h"

#include "resources/string_ids.h"
#include "resources/stub_ids.h"

namespace {

struct MessageMapping {
    unsigned programId;
    unsigned stubId;
};

// Without a trailer the main program names the likely causes of a failed write in a
// text of its own; the stub says the same in every case.
const MessageMapping kMappings[] = {
    {IDS_OPERATION_CANCELLED, IDS_STUB_CANCELLED},
    {IDS_UNKNOWN_FLOPPY_TYPE, IDS_STUB_UNKNOWN_FLOPPY_TYPE},
    {IDS_IMAGE_READ_FAILED, IDS_STUB_IMAGE_READ_FAILED},
    {IDS_IMAGE_NOT_WHOLE_DISK, IDS_STUB_IMAGE_NOT_WHOLE_DISK},
    {IDS_FLOPPY_IN_USE, IDS_STUB_FLOPPY_IN_USE},
    {IDS_SECTOR_WRITE_FAILED, IDS_STUB_SECTOR_WRITE_FAILED},
    {IDS_SECTOR_WRITE_FAILED_NO_TRAILER, IDS_STUB_SECTOR_WRITE_FAILED},
    {IDS_WRITING_FLOPPY, IDS_STUB_WRITING_FLOPPY},
    {IDS_VERIFYING_FLOPPY, IDS_STUB_VERIFYING_FLOPPY},
    {IDS_IMAGE_CHECKSUM_MISMATCH, IDS_STUB_IMAGE_CHECKSUM_MISMATCH},
    {IDS_VERIFY_MISMATCH, IDS_STUB_VERIFY_MISMATCH},
    {IDS_NEWER_IMAGE_VERSION, IDS_STUB_NEWER_IMAGE_VERSION},
    {IDS_DRIVE_NOT_READY, IDS_STUB_DRIVE_NOT_READY},
    {IDS_IMAGE_TOO_LARGE, IDS_STUB_IMAGE_TOO_LARGE},
    {IDS_WRITE_PROTECTED, IDS_STUB_WRITE_PROTECTED},
    {IDS_COPY_IMAGE_TO_HARDDRIVE, IDS_STUB_COPY_TO_HARDDRIVE},
    {IDS_ASK_OVERWRITE_FLOPPY, IDS_STUB_ASK_OVERWRITE},
    {IDS_KB_COPIED, IDS_STUB_KB_COPIED},
    {IDS_EXE_HAS_NO_IMAGE, IDS_STUB_EXE_HAS_NO_IMAGE},
    {IDS_DISK_NEEDS_OTHER_DENSITY, IDS_STUB_NEEDS_OTHER_DENSITY},
    {IDS_DISK_NEEDS_OTHER_FORMAT, IDS_STUB_NEEDS_OTHER_FORMAT},
    // The same words as the density text: it takes the format's name as its %s.
    {IDS_DISK_NEEDS_FORMAT, IDS_STUB_NEEDS_OTHER_DENSITY},
    {IDS_CANNOT_OPEN_PROGRAM_FILE, IDS_STUB_CANNOT_OPEN_IMAGE},
    {IDS_DECOMPRESSOR_NOT_OPENED, IDS_STUB_UNABLE_TO_OPEN},
    {IDS_APP_TITLE, IDS_STUB_APP_TITLE},
};

bool SameText(const char* a, const char* b) {
    if (a == nullptr || b == nullptr) {
        return a == b;
    }
    while (*a != '\0' && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

}  // namespace

unsigned StubMessageId(const UserMessage& message, const char* driveText) {
    if (message.id == IDS_UNABLE_TO_OPEN) {
        return SameText(message.text, driveText) ? IDS_STUB_UNABLE_TO_OPEN
                                                 : IDS_STUB_CANNOT_OPEN_IMAGE;
    }
    for (const MessageMapping& mapping : kMappings) {
        if (mapping.programId == message.id) {
            return mapping.stubId;
        }
    }
    return 0;
}
