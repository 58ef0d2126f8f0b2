#include "engine/image/bzip2_stream.h"

// In the Windows build bzlib.h brings <windows.h> along for its calling convention;
// nothing here uses it, and it reaches no other file through our header.
#include <bzlib.h>

namespace {

constexpr int kBlockSize100k = 9;
constexpr int kVerbosity = 0;
constexpr int kWorkFactor = 30;
constexpr int kSmallMemory = 0;

}  // namespace

int Bzip2Writer::Open(FILE* file) {
    Abandon();
    int error = BZ_OK;
    handle_ = BZ2_bzWriteOpen(&error, file, kBlockSize100k, kVerbosity, kWorkFactor);
    file_ = file;
    if (error != BZ_OK || handle_ == nullptr) {
        Abandon();
        return -1;
    }
    return 0;
}

int Bzip2Writer::Write(const char* data, int size) {
    int error = BZ_OK;
    // The library only reads from the buffer; its prototype merely lacks the const.
    BZ2_bzWrite(&error, handle_, const_cast<char*>(data), size);
    return error == BZ_OK ? 0 : -1;
}

int Bzip2Writer::Finish() {
    if (handle_ == nullptr) {
        return -1;
    }
    int error = BZ_OK;
    BZ2_bzWriteClose(&error, handle_, 0, nullptr, nullptr);
    if (error != BZ_OK) {
        // The library keeps its handle when the end could not be written.
        Abandon();
        return -1;
    }
    handle_ = nullptr;
    file_ = nullptr;
    return 0;
}

void Bzip2Writer::Abandon() {
    if (handle_ != nullptr) {
        // With the file's error indicator set the library returns early and keeps its
        // ~8 MB of compressor state; cleared, abandoning frees it and writes nothing.
        clearerr(file_);
        int error = BZ_OK;
        BZ2_bzWriteClose(&error, handle_, 1, nullptr, nullptr);
    }
    handle_ = nullptr;
    file_ = nullptr;
}

int Bzip2Reader::Open(FILE* file) {
    Close();
    int error = BZ_OK;
    handle_ = BZ2_bzReadOpen(&error, file, kVerbosity, kSmallMemory, nullptr, 0);
    file_ = file;
    if (error != BZ_OK || handle_ == nullptr) {
        Close();
        return -1;
    }
    streams_ = 1;
    return 0;
}

// The library keeps the bytes it read past a stream's end; they are the start of the
// next one and must be handed to the reader that goes on. End when nothing follows.
Bzip2ReadStatus Bzip2Reader::StartNextStream() {
    char unused[BZ_MAX_UNUSED];
    void* left = nullptr;
    int leftCount = 0;
    int error = BZ_OK;
    BZ2_bzReadGetUnused(&error, handle_, &left, &leftCount);
    if (error != BZ_OK || leftCount < 0 || leftCount > BZ_MAX_UNUSED) {
        return Bzip2ReadStatus::Damaged;
    }
    for (int i = 0; i < leftCount; ++i) {
        unused[i] = static_cast<char*>(left)[i];
    }
    BZ2_bzReadClose(&error, handle_);
    handle_ = nullptr;
    if (leftCount == 0) {
        const int next = fgetc(file_);
        if (next == EOF) {
            return ferror(file_) ? Bzip2ReadStatus::IoError : Bzip2ReadStatus::End;
        }
        // Pushing back the one byte just read cannot fail.
        ungetc(next, file_);  // NOLINT(cert-err33-c)
    }
    handle_ = BZ2_bzReadOpen(&error, file_, kVerbosity, kSmallMemory, unused, leftCount);
    if (error != BZ_OK || handle_ == nullptr) {
        handle_ = nullptr;
        return Bzip2ReadStatus::Damaged;
    }
    ++streams_;
    return Bzip2ReadStatus::Data;
}

Bzip2ReadStatus Bzip2Reader::Read(char* buffer, int size, int* count) {
    *count = 0;
    while (!ended_) {
        if (failure_ != Bzip2ReadStatus::Data || handle_ == nullptr) {
            return failure_ != Bzip2ReadStatus::Data ? failure_ : Bzip2ReadStatus::Damaged;
        }
        int error = BZ_OK;
        const int got = BZ2_bzRead(&error, handle_, buffer, size);
        switch (error) {
        case BZ_STREAM_END: {
            const Bzip2ReadStatus next = StartNextStream();
            if (next == Bzip2ReadStatus::End) {
                ended_ = true;
            } else if (next != Bzip2ReadStatus::Data) {
                failure_ = next;
            }
            if (got > 0) {
                *count = got;
                return Bzip2ReadStatus::Data;
            }
            continue;
        }
        case BZ_OK:
            *count = got;
            return got > 0 ? Bzip2ReadStatus::Data : Bzip2ReadStatus::End;
        case BZ_IO_ERROR:
            return Bzip2ReadStatus::IoError;
        case BZ_DATA_ERROR_MAGIC:
            if (streams_ > 1) {
                // Behind the last stream: the trailer, or whatever else the file holds.
                ended_ = true;
                continue;
            }
            [[fallthrough]];
        default:
            // BZ_DATA_ERROR, BZ_DATA_ERROR_MAGIC, BZ_UNEXPECTED_EOF, or a stream the
            // library will not go on with: in no case is the image complete. The library
            // takes a failed single-byte read for the end of the file and says
            // BZ_UNEXPECTED_EOF, so the file's own error indicator decides.
            return file_ != nullptr && ferror(file_) ? Bzip2ReadStatus::IoError
                                                     : Bzip2ReadStatus::Damaged;
        }
    }
    return Bzip2ReadStatus::End;
}

void Bzip2Reader::Close() {
    if (handle_ != nullptr) {
        int error = BZ_OK;
        BZ2_bzReadClose(&error, handle_);
    }
    handle_ = nullptr;
    file_ = nullptr;
    ended_ = false;
    streams_ = 0;
    failure_ = Bzip2ReadStatus::Data;
}
