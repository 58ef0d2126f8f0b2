#include "engine/image_input.h"

#include "engine/compressed_stream.h"
#include "engine/image_kind.h"

InputOpen ImageInput::Open(const char* sourcePath, bool compressed) {
    Close();
    compressed_ = compressed;
    file_ = fopen(sourcePath, "rb");
    if (file_ == nullptr) {
        return InputOpen::NotOpened;
    }
    if (!compressed) {
        return InputOpen::Opened;
    }
    if (HasExtension(sourcePath, ".exe") && FindCompressedStream(file_) != 0) {
        Close();
        return InputOpen::NoImageInExe;
    }
    if (decompressor_.Open(file_) != 0) {
        Close();
        return InputOpen::DecompressorNotOpened;
    }
    return InputOpen::Opened;
}

InputRead ImageInput::Read(char* buffer, unsigned* count) {
    *count = 0;
    if (file_ == nullptr) {
        return InputRead::Failed;
    }
    if (!compressed_) {
        *count = static_cast<unsigned>(fread(buffer, 1, kChunkSize, file_));
        return ferror(file_) ? InputRead::Failed : InputRead::Data;
    }
    int got = 0;
    switch (decompressor_.Read(buffer, &got)) {
    case Bzip2ReadStatus::Data:
        *count = static_cast<unsigned>(got);
        return InputRead::Data;
    case Bzip2ReadStatus::End:
        return InputRead::Data;
    default:
        // A damaged or truncated stream is as unreadable as a failing file: the image
        // on the disk would be incomplete.
        return InputRead::Failed;
    }
}

void ImageInput::Close() {
    decompressor_.Close();
    if (file_ != nullptr) {
        fclose(file_);
        file_ = nullptr;
    }
}
