#pragma once
#include <signal.h>

#include <string>

// A bare raw image is listed and extracted from a mapping of its file
// (engine/fat/mapped_disk_posix). Should another program cut the file short, or the
// device holding it fail, while it is mapped, touching what is lost raises SIGBUS. While
// one of these lives, that ends the program with `line` on stderr and status 1, the
// files a job left unfinished removed, instead of "Bus error" and a core. The previous
// handling comes back when it goes. One at a time per process.
class LostImageBytesEnd {
public:
    explicit LostImageBytesEnd(const std::string& line);
    ~LostImageBytesEnd();
    LostImageBytesEnd(const LostImageBytesEnd&) = delete;
    LostImageBytesEnd& operator=(const LostImageBytesEnd&) = delete;

private:
    struct sigaction previous_;
};
