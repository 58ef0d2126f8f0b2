#pragma once
#include <stdio.h>

// The compressed image kinds hold one bzip2 stream of the sectors. These two wrappers fix
// how the program drives libbzip2 over an open stdio stream: 900 kB blocks, work factor
// 30, and chunks of 10,240 bytes when decompressing. They allocate nothing themselves
// and close their handle when they go out of scope; the FILE stays the caller's.

// Bytes one Bzip2Reader::Read asks for; its buffer must hold this many.
constexpr int kBzip2ReadChunk = 10240;

class Bzip2Writer {
public:
    Bzip2Writer() = default;
    ~Bzip2Writer() { Abandon(); }
    Bzip2Writer(const Bzip2Writer&) = delete;
    Bzip2Writer& operator=(const Bzip2Writer&) = delete;

    // Starts a stream at the file's current position. 0, or -1 when the library refuses.
    int Open(FILE* file);
    // Compresses `size` bytes into the stream. 0, or -1 when they could not be written.
    int Write(const char* data, int size);
    // Completes the stream and flushes the file. 0, or -1 when the end of the stream
    // could not be written: the file is then incomplete.
    int Finish();
    // Drops an unfinished stream, writing nothing more; after a failed Write or Finish
    // this also clears the file's error indicator.
    void Abandon();

private:
    void* handle_ = nullptr;
    FILE* file_ = nullptr;
};

enum class Bzip2ReadStatus {
    Data,     // bytes were delivered
    End,      // the stream has ended cleanly; nothing more comes
    IoError,  // the file could not be read
    Damaged,  // the stream is corrupt or cut short, or the data is no bzip2 stream
};

class Bzip2Reader {
public:
    Bzip2Reader() = default;
    ~Bzip2Reader() { Close(); }
    Bzip2Reader(const Bzip2Reader&) = delete;
    Bzip2Reader& operator=(const Bzip2Reader&) = delete;

    // Starts decompressing at the file's current position. 0, or -1 when the library
    // refuses.
    int Open(FILE* file);
    // Fetches the next chunk of up to kBzip2ReadChunk bytes into `buffer`; `*count` is
    // the number delivered, 0 unless the status is Data. The last bytes of the stream
    // come as Data, the following call answers End.
    //
    // Streams that follow one another are one sequence, as bunzip2 reads them (parallel
    // compressors write such files): the sequence ends at the end of the file or at the
    // first bytes behind a stream that do not start another, such as an image's trailer.
    // A later stream that starts but is damaged or cut short is Damaged.
    Bzip2ReadStatus Read(char* buffer, int* count) { return Read(buffer, kBzip2ReadChunk, count); }
    // The same with chunks of up to `size` bytes.
    Bzip2ReadStatus Read(char* buffer, int size, int* count);
    void Close();

private:
    Bzip2ReadStatus StartNextStream();

    void* handle_ = nullptr;
    FILE* file_ = nullptr;
    bool ended_ = false;
    int streams_ = 0;  // started so far, the current one included
    Bzip2ReadStatus failure_ = Bzip2ReadStatus::Data;  // a failure still to be answered
};
