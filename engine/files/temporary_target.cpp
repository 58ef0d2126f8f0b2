#include "engine/files/temporary_target.h"

#include <string.h>

namespace {

// The length of the folder part of `path`, separator included (both of Windows' and a
// drive's colon count, so a name "C:disk.img" stays on its drive).
size_t FolderLength(const char* path) {
    size_t length = 0;
    for (size_t i = 0; path[i] != '\0'; ++i) {
        if (path[i] == '\\' || path[i] == '/' || path[i] == ':') length = i + 1;
    }
    return length;
}

// Appends to a buffer of fixed size, remembering whether everything fitted.
class NameWriter {
public:
    NameWriter(char* out, size_t size) : out_(out), size_(size) { Terminate(); }

    NameWriter& Text(const char* text, size_t length) {
        for (size_t i = 0; i < length; ++i) Char(text[i]);
        return *this;
    }
    NameWriter& Text(const char* text) { return Text(text, strlen(text)); }
    NameWriter& Number(unsigned value) {
        char digits[12];
        size_t count = 0;
        do {
            digits[count++] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value != 0);
        while (count > 0) Char(digits[--count]);
        return *this;
    }
    bool Fitted() const { return fitted_; }

private:
    void Char(char c) {
        if (length_ + 1 >= size_) {
            fitted_ = false;
            return;
        }
        out_[length_++] = c;
        Terminate();
    }
    void Terminate() {
        if (size_ > 0) out_[length_] = '\0';
        fitted_ = fitted_ && size_ > 0;
    }

    char* out_;
    size_t size_;
    size_t length_ = 0;
    bool fitted_ = true;
};

}  // namespace

bool TemporaryName(const char* target, unsigned attempt, char* name, size_t size) {
    NameWriter beside(name, size);
    beside.Text(target);
    if (attempt != 0) beside.Text(".").Number(attempt);
    if (beside.Text(".tmp").Fitted()) {
        return true;
    }
    NameWriter inFolder(name, size);
    inFolder.Text(target, FolderLength(target)).Text("~vorlix");
    if (attempt != 0) inFolder.Number(attempt);
    return inFolder.Text(".tmp").Fitted();
}

int TemporaryTarget::Create(const char* target) {
    if (Discard() != 0) {
        return -1;
    }
    // Beside the file a link leads to, so that the rename stays on its volume.
    if (!files_.ResolveLinks(target, target_, sizeof target_)) {
        return -1;
    }
    for (unsigned attempt = 0; attempt < kAttempts; ++attempt) {
        if (!TemporaryName(target_, attempt, path_, sizeof path_)) {
            return -1;
        }
        switch (files_.CreateNew(path_, &stream_)) {
        case NewFile::Created:
            held_ = true;
            return 0;
        case NewFile::Taken:
            continue;
        case NewFile::Failed:
            return -1;
        }
    }
    return -1;
}

int TemporaryTarget::Close() {
    if (!held_) {
        return -1;
    }
    if (stream_ == nullptr) {
        return 0;
    }
    FILE* stream = stream_;
    stream_ = nullptr;
    if (!files_.Close(stream, path_, target_)) {
        Discard();
        return -1;
    }
    return 0;
}

int TemporaryTarget::Commit() {
    if (!held_ || Close() != 0) {
        return -1;
    }
    switch (files_.Replace(path_, target_)) {
    case Replacement::Done:
        held_ = false;
        return 0;
    case Replacement::Stranded:
        held_ = false;
        return -1;
    case Replacement::Refused:
        break;
    }
    Discard();
    return -1;
}

int TemporaryTarget::Discard() {
    if (stream_ != nullptr) {
        fclose(stream_);  // NOLINT(cert-err33-c): the file is dropped and removed next
        stream_ = nullptr;
    }
    if (!held_) {
        return 0;
    }
    if (!files_.Remove(path_)) {
        return -1;
    }
    held_ = false;
    return 0;
}
