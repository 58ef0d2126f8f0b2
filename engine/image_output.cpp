#include "engine/image_output.h"

#include "engine/image_kind.h"
#include "engine/restorer_stub_copy.h"

OutputOpen ImageOutput::Open(const char* targetPath, bool compressed, const char* programPath,
                             char* scratch) {
    Abandon();
    compressed_ = compressed;
    if (temporary_.Create(targetPath) != 0) {
        return OutputOpen::NotCreated;
    }
    const char* path = temporary_.Path();
    if (compressed && HasExtension(targetPath, ".exe")) {
        switch (CopyRestorerStub(programPath, path, scratch, &file_)) {
        case kStubCopied:
            break;
        case kStubProgramNotOpened:
            Abandon();
            return OutputOpen::ProgramNotOpened;
        default:
            Abandon();
            return OutputOpen::NotCreated;
        }
    } else {
        file_ = fopen(path, "wb");
        if (file_ == nullptr) {
            Abandon();
            return OutputOpen::NotCreated;
        }
    }
    if (compressed && compressor_.Open(file_) != 0) {
        Abandon();
        return OutputOpen::NotCreated;
    }
    return OutputOpen::Opened;
}

int ImageOutput::Write(const char* data, unsigned size) {
    if (file_ == nullptr) {
        return -1;
    }
    if (compressed_) {
        return compressor_.Write(data, static_cast<int>(size));
    }
    return fwrite(data, 1, size, file_) == size ? 0 : -1;
}

int ImageOutput::Finish() {
    if (file_ == nullptr) {
        return -1;
    }
    int result = 0;
    if (compressed_ && compressor_.Finish() != 0) {
        result = -1;
    }
    // The last bytes may still sit in the stream's buffer: a failing close lost them.
    if (fclose(file_) != 0) {
        result = -1;
    }
    file_ = nullptr;
    return result;
}

int ImageOutput::Commit() {
    // An open file cannot be renamed on Windows, and would not be whole.
    if (file_ != nullptr) {
        return -1;
    }
    return temporary_.Commit();
}

void ImageOutput::Abandon() {
    compressor_.Abandon();
    if (file_ != nullptr) {
        fclose(file_);  // NOLINT(cert-err33-c): the file is dropped and removed next
        file_ = nullptr;
    }
    temporary_.Discard();
}
