#include "engine/image/image_output.h"

#include "engine/image/image_kind.h"
#include "engine/image/image_trailer.h"
#include "engine/image/restorer_stub_copy.h"

OutputOpen ImageOutput::Open(const char* targetPath, bool compressed, const char* programPath,
                             char* scratch) {
    Abandon();
    compressed_ = compressed;
    if (temporary_.Create(targetPath) != 0) {
        return OutputOpen::NotCreated;
    }
    FILE* file = temporary_.Stream();
    if (compressed && HasExtension(targetPath, ".exe")) {
        switch (CopyRestorerStubInto(programPath, file, scratch)) {
        case kStubCopied:
            break;
        case kStubProgramNotOpened:
            Abandon();
            return OutputOpen::ProgramNotOpened;
        default:
            Abandon();
            return OutputOpen::NotCreated;
        }
    }
    if (compressed && compressor_.Open(file) != 0) {
        Abandon();
        return OutputOpen::NotCreated;
    }
    return OutputOpen::Opened;
}

int ImageOutput::Write(const char* data, unsigned size) {
    FILE* file = temporary_.Stream();
    if (file == nullptr || finished_) {
        return -1;
    }
    if (compressed_) {
        return compressor_.Write(data, static_cast<int>(size));
    }
    return fwrite(data, 1, size, file) == size ? 0 : -1;
}

int ImageOutput::Finish() {
    FILE* file = temporary_.Stream();
    if (file == nullptr || finished_) {
        return -1;
    }
    if (compressed_ && compressor_.Finish() != 0) {
        return -1;
    }
    // The last bytes may still sit in the stream's buffer, where a full disk goes unseen.
    if (fflush(file) != 0) {
        return -1;
    }
    finished_ = true;
    return 0;
}

int ImageOutput::AppendTrailer(const char* description, const FloppyType& format,
                               const char* checksumHex, int badSectors) {
    FILE* file = temporary_.Stream();
    if (file == nullptr || !finished_) {
        return -1;
    }
    return AppendImageTrailer(file, description, static_cast<int>(format.sectorsPerTrack),
                              checksumHex, badSectors, TrailerTotalSectors(format));
}

int ImageOutput::Close() {
    return finished_ ? temporary_.Close() : -1;
}

int ImageOutput::Commit() {
    // An unfinished image would not be whole.
    if (!finished_) {
        return -1;
    }
    finished_ = false;
    return temporary_.Commit();
}

void ImageOutput::Abandon() {
    compressor_.Abandon();
    temporary_.Discard();
    finished_ = false;
}
