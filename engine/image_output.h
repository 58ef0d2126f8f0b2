#pragma once
#include <stdio.h>

#include "engine/bzip2_stream.h"
#include "engine/temporary_target.h"

// Outcomes of ImageOutput::Open; each failure names what the job reports.
enum class OutputOpen {
    Opened,
    ProgramNotOpened,  // ".exe": the program's own file, which holds the stub
    NotCreated,        // the image's file beside the target, or the compressor on it
};

// The image file a read job makes: the raw sectors, or one bzip2 stream of them behind
// the restorer stub for an ".exe" target. It is written under a temporary name beside
// the target, which is replaced only by a committed image: until then, and whenever the
// image fails, the target is as it was. Closes and removes whatever is not committed when
// it goes out of scope.
class ImageOutput {
public:
    // `files`: the operations that make, replace and remove the files.
    explicit ImageOutput(TargetFiles& files) : temporary_(files) {}
    ~ImageOutput() { Abandon(); }
    ImageOutput(const ImageOutput&) = delete;
    ImageOutput& operator=(const ImageOutput&) = delete;

    // Starts the image of `targetPath` in a new file of its own beside it. A compressed
    // target ending in ".exe" starts with the stub copied out of `programPath`, through
    // `scratch` (at least kStubCopyPiece bytes). On failure nothing is left behind.
    OutputOpen Open(const char* targetPath, bool compressed, const char* programPath,
                    char* scratch);

    // 0, or -1 when the bytes did not all reach the file.
    int Write(const char* data, unsigned size);

    // Completes the stream and closes the file: 0, or -1 when the image is incomplete.
    int Finish();

    // The file being written, where more may be appended once it is finished.
    const char* FilePath() const { return temporary_.Path(); }

    // Puts the finished file in the target's place: 0, or -1 when the target could not
    // be replaced; it is then as it was and the file is gone.
    int Commit();

    // Closes without completing anything and removes the file.
    void Abandon();

private:
    TemporaryTarget temporary_;
    FILE* file_ = nullptr;
    Bzip2Writer compressor_;
    bool compressed_ = false;
};
