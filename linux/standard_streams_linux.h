#pragma once
#include <string>

// Opens each of the descriptors 0, 1 and 2 that the caller left closed on /dev/null, so
// that no file the program opens later (an image, the device) becomes one of them and
// receives what is printed; and has a write to a pipe whose reader has gone fail with
// EPIPE instead of ending the process in the middle of a job. The first thing the
// program does. 0, or -1 when /dev/null cannot be opened.
int PrepareStandardStreams();

// stdout or stderr, written with write(2) without a buffer. A write that fails (the
// reader has gone, the disk is full, the descriptor was closed) ends all output on it:
// the job goes on to its end without its progress or messages, and the program's exit
// status comes from the job. Failed() then names the error.
class OutputStream {
public:
    explicit OutputStream(int fd) : fd_(fd) {}
    OutputStream(const OutputStream&) = delete;
    OutputStream& operator=(const OutputStream&) = delete;

    void Write(const std::string& text);
    bool Failed() const { return error_ != 0; }
    int Error() const { return error_; }

private:
    int fd_;
    int error_ = 0;
};
