#include "engine/image/zip_image_reader.h"

#include <stdio.h>
#include <string.h>
#include <unzip.h>

#include "engine/device/floppy_type.h"

namespace {

constexpr uLong kEncryptedFlag = 1;  // general purpose bit 0, traditional and AES alike
constexpr int kStored = 0;

unzFile Archive(void* archive) { return static_cast<unzFile>(archive); }

void CopyText(char* text, size_t size, const char* from) {
    if (size > 0) snprintf(text, size, "%s", from);  // NOLINT(cert-err33-c): cut to fit
}

// Appends `name` to the list in `text`; once one does not fit, the list ends in "...".
void AppendName(char* text, size_t size, const char* name, bool* cut) {
    const size_t used = strlen(text);
    const char* separator = used == 0 ? "" : ", ";
    if (*cut || size == 0) return;
    if (used + strlen(separator) + strlen(name) + sizeof ", ..." > size) {
        snprintf(text + used, size - used, "%s", ", ...");  // NOLINT(cert-err33-c): fits
        *cut = true;
        return;
    }
    snprintf(text + used, size - used, "%s%s", separator, name);  // NOLINT(cert-err33-c): fits
}

// The names people know the other methods by (APPNOTE's numbers).
void NameMethod(uLong method, char* text, size_t size) {
    switch (method) {
    case 9: return CopyText(text, size, "Deflate64");
    case 12: return CopyText(text, size, "bzip2");
    case 14: return CopyText(text, size, "LZMA");
    case 93: return CopyText(text, size, "Zstandard");
    case 95: return CopyText(text, size, "XZ");
    case 98: return CopyText(text, size, "PPMd");
    default:
        if (size > 0) snprintf(text, size, "method %lu", method);  // NOLINT(cert-err33-c)
    }
}

bool IsFloppyImage(const unz_file_info64& info) {
    return FindFloppyTypeOfSize(info.uncompressed_size) != nullptr;
}

}  // namespace

ZipOpen ZipImageReader::Open(const char* path, char* text, size_t size) {
    Close();
    CopyText(text, size, "");
    archive_ = unzOpen64(path);
    if (archive_ == nullptr) {
        return ZipOpen::Damaged;
    }
    const ZipOpen picked = PickImage(path, text, size);
    const ZipOpen opened = picked == ZipOpen::Opened ? OpenPicked(text, size) : picked;
    if (opened != ZipOpen::Opened) {
        Close();
    }
    if (opened == ZipOpen::Damaged) {
        CopyText(text, size, "");  // its message names nothing
    }
    return opened;
}

// Walks the whole central directory: a second image anywhere makes the choice the user's.
ZipOpen ZipImageReader::PickImage(const char* path, char* text, size_t size) {
    unz64_file_pos picked{};
    unsigned images = 0;
    bool cut = false;
    int step = unzGoToFirstFile(Archive(archive_));
    for (; step == UNZ_OK; step = unzGoToNextFile(Archive(archive_))) {
        unz_file_info64 info{};
        char name[256] = "";
        if (unzGetCurrentFileInfo64(Archive(archive_), &info, name, sizeof name - 1, nullptr, 0,
                                    nullptr, 0) != UNZ_OK) {
            return ZipOpen::Damaged;
        }
        if (!IsFloppyImage(info)) continue;
        if (++images == 1 && unzGetFilePos64(Archive(archive_), &picked) != UNZ_OK) {
            return ZipOpen::Damaged;
        }
        AppendName(text, size, name, &cut);
    }
    if (step != UNZ_END_OF_LIST_OF_FILE) {
        return ZipOpen::Damaged;
    }
    if (images != 1) {
        if (images == 0) CopyText(text, size, path);
        return images == 0 ? ZipOpen::NoImage : ZipOpen::SeveralImages;
    }
    return unzGoToFilePos64(Archive(archive_), &picked) == UNZ_OK ? ZipOpen::Opened
                                                                   : ZipOpen::Damaged;
}

ZipOpen ZipImageReader::OpenPicked(char* text, size_t size) {
    unz_file_info64 info{};
    char name[256] = "";
    if (unzGetCurrentFileInfo64(Archive(archive_), &info, name, sizeof name - 1, nullptr, 0,
                                nullptr, 0) != UNZ_OK) {
        return ZipOpen::Damaged;
    }
    if ((info.flag & kEncryptedFlag) != 0) {
        CopyText(text, size, name);
        return ZipOpen::Encrypted;
    }
    if (info.compression_method != kStored && info.compression_method != Z_DEFLATED) {
        NameMethod(info.compression_method, text, size);
        return ZipOpen::OtherMethod;
    }
    if (unzOpenCurrentFile(Archive(archive_)) != UNZ_OK) {
        return ZipOpen::Damaged;
    }
    CopyText(text, size, "");
    memberOpen_ = true;
    memberBytes_ = static_cast<uint32_t>(info.uncompressed_size);  // a floppy's size
    readBytes_ = 0;
    return ZipOpen::Opened;
}

// minizip stops at the size the directory declares, so a member that inflates to more
// ends there (and its CRC-32 differs); one that ends early is cut short.
ZipRead ZipImageReader::Read(char* buffer, unsigned size, unsigned* got) {
    *got = 0;
    if (!memberOpen_) {
        return ZipRead::Failed;
    }
    const int read = unzReadCurrentFile(Archive(archive_), buffer, size);
    if (read > 0) {
        *got = static_cast<unsigned>(read);
        readBytes_ += *got;
        return ZipRead::Data;
    }
    memberOpen_ = false;
    // The CRC-32 is compared as the member is closed, once all of it has been read.
    const bool whole = read == 0 && readBytes_ == memberBytes_;
    return unzCloseCurrentFile(Archive(archive_)) == UNZ_OK && whole ? ZipRead::End
                                                                     : ZipRead::Failed;
}

void ZipImageReader::Close() {
    if (archive_ == nullptr) {
        return;
    }
    if (memberOpen_) {
        unzCloseCurrentFile(Archive(archive_));  // NOLINT(cert-err33-c): read only
        memberOpen_ = false;
    }
    unzClose(Archive(archive_));  // NOLINT(cert-err33-c): read only; nothing is lost
    archive_ = nullptr;
}
