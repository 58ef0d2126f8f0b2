#pragma once
#include <stdio.h>

#include "engine/files/temporary_target.h"
#include "engine/device/floppy_type.h"
#include "engine/image/bzip2_stream.h"

// Outcomes of ImageOutput::Open; each failure names what the job reports.
enum class OutputOpen {
    Opened,
    ProgramNotOpened,  // ".exe": the program's own file, which holds the stub
    NotCreated,        // the image's file beside the target, or the compressor on it
};

// The image file a read job makes: the raw sectors, or one bzip2 stream of them behind
// the restorer stub for an ".exe" target, then its trailer. It is written under a
// temporary name beside the target, only through the file made there, and replaces the
// target only once committed, its bytes on stable storage: until then, and whenever the
// image fails, the target is as it was. Closes and removes whatever is not committed
// when it goes out of scope.
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

    // Completes the stream and hands the file's buffered bytes to the system: 0, or -1
    // when the image is incomplete. The file stays open for the trailer.
    int Finish();

    // Appends the trailer (AppendImageTrailer) of a disk of `format` to the finished
    // image: 0, or -1 when it was not written whole.
    int AppendTrailer(const char* description, const FloppyType& format, const char* checksumHex,
                      int badSectors);

    // Closes the finished file, its bytes on stable storage: 0, or -1 when they may not
    // be (the image is then incomplete, and gone). Commit closes as well; closing first
    // lets a failure here be told as a failed write.
    int Close();

    // The file being written. Anything that opens it by this name must close it again
    // before Close or Commit.
    const char* FilePath() const { return temporary_.Path(); }

    // Puts the finished file in the target's place: 0, or -1 when the image is not whole
    // or the target could not be replaced; it is then as it was.
    int Commit();

    // Closes without completing anything and removes the file.
    void Abandon();

private:
    TemporaryTarget temporary_;
    Bzip2Writer compressor_;
    bool compressed_ = false;
    bool finished_ = false;
};
