#include "fuzz/scratch_folder.h"

#include <dirent.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

ScratchFolder::ScratchFolder() {
    const char* tmp = getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/vorlix-fuzz-XXXXXX";
    if (mkdtemp(&pattern[0]) == nullptr) {
        perror("vorlix fuzz: mkdtemp");
        abort();
    }
    path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    if (DIR* dir = opendir(path_.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") {
                unlink((path_ + "/" + name).c_str());
            }
        }
        closedir(dir);
    }
    rmdir(path_.c_str());
}

std::string ScratchFolder::Write(const char* name, const uint8_t* data, size_t size) {
    const std::string path = path_ + "/" + name;
    FILE* file = fopen(path.c_str(), "wb");
    if (file == nullptr) {
        perror("vorlix fuzz: scratch file");
        abort();
    }
    const bool written = size == 0 || fwrite(data, 1, size, file) == size;
    if (fclose(file) != 0 || !written) {
        perror("vorlix fuzz: scratch file");
        abort();
    }
    return path;
}

ScratchFolder& Scratch() {
    static ScratchFolder folder;
    return folder;
}
