#include "engine/image/image_kind.h"

#include <string.h>

#include "engine/image/ascii_text.h"

bool HasExtension(const char* path, const char* extension) {
    if (path == nullptr) {
        return false;
    }
    const size_t length = strlen(path);
    const size_t extensionLength = strlen(extension);
    if (length < extensionLength) {
        return false;
    }
    const char* tail = path + length - extensionLength;
    for (size_t i = 0; i < extensionLength; ++i) {
        if (AsciiLower(tail[i]) != AsciiLower(extension[i])) {
            return false;
        }
    }
    return true;
}

const char* BareRawExtensionOf(const char* path) {
    for (const char* extension : kBareRawExtensions) {
        if (HasExtension(path, extension)) return extension;
    }
    return nullptr;
}

bool IsBareRawName(const char* path) {
    return BareRawExtensionOf(path) != nullptr;
}

bool TakesTrailer(const char* path, bool compatible) {
    return !IsBareRawName(path) && !(compatible && HasExtension(path, ".img"));
}

ImageKind ImageKindOf(const char* path) {
    if (HasExtension(path, ".img") || IsBareRawName(path)) {
        return ImageKind::Raw;
    }
    if (HasExtension(path, ".imz")) {
        return ImageKind::Compressed;
    }
    if (HasExtension(path, ".exe")) {
        return ImageKind::SelfExtracting;
    }
    if (HasExtension(path, ".zip")) {
        return ImageKind::Zip;
    }
    return ImageKind::None;
}

bool IsOnFloppyDrive(const char* path) {
    if (path == nullptr || path[0] == '\0' || path[1] != ':') {
        return false;
    }
    const char drive = AsciiLower(path[0]);
    return drive == 'a' || drive == 'b';
}

bool IsWritableImageKind(ImageKind kind) {
    return kind == ImageKind::Raw || kind == ImageKind::Compressed || kind == ImageKind::Zip;
}

bool IsCreatableImageKind(ImageKind kind) {
    return kind != ImageKind::None && kind != ImageKind::Zip;
}

bool IsEmergencyImageKind(ImageKind kind) {
    return kind == ImageKind::Raw;
}
