#pragma once
#include <stdio.h>

#include "engine/bzip2_stream.h"

// Outcomes of ImageOutput::Open; each failure names what the job reports.
enum class OutputOpen {
    Opened,
    ProgramNotOpened,  // ".exe": the program's own file, which holds the stub
    NotCreated,        // the target, or the compressor on it
};

// The image file a read job makes: the raw sectors, or one bzip2 stream of them behind
// the restorer stub for an ".exe" target. Closes whatever is open when it goes out of
// scope, completing nothing.
class ImageOutput {
public:
    ImageOutput() = default;
    ~ImageOutput() { Abandon(); }
    ImageOutput(const ImageOutput&) = delete;
    ImageOutput& operator=(const ImageOutput&) = delete;

    // Creates (or truncates) `targetPath`. A compressed target ending in ".exe" starts
    // with the stub copied out of `programPath`, through `scratch` (at least
    // kStubCopyPiece bytes). A file that was created stays when the compressor fails.
    OutputOpen Open(const char* targetPath, bool compressed, const char* programPath,
                    char* scratch);

    // 0, or -1 when the bytes did not all reach the file.
    int Write(const char* data, unsigned size);

    // Completes the stream and closes the file: 0, or -1 when the image is incomplete.
    int Finish();

    // Closes without completing anything (the caller removes the file).
    void Abandon();

private:
    FILE* file_ = nullptr;
    Bzip2Writer compressor_;
    bool compressed_ = false;
};
