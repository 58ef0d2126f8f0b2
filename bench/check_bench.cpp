// The image check against what a shell would do for the same answer: the check of a
// 1440 kB ".imz" (decode every stream, judge the size, SHA-256 the data) beside
// `bunzip2 -c image | sha256sum` on the same file. Target: at most 1.10 of its time.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>

#include "engine/device/memory_floppy_device.h"
#include "engine/image/image_check.h"
#include "engine/job/read_floppy_job.h"

namespace {

// Rounds alternate between the two, so that a busy moment of the machine costs both.
constexpr int kRounds = 9;
constexpr double kTarget = 1.10;

class SilentSink final : public MessageSink {
public:
    MessageAnswer Show(const UserMessage& message) override {
        last = message.id;
        return MessageAnswer::Ok;
    }
    unsigned last = 0;
};

class PlainTexts final : public MessageTexts {
public:
    const char* Text(unsigned) override { return "%s"; }
};

class BenchHost final : public JobHost {
public:
    MessageSink& Messages() override { return sink; }
    void Post(JobKind, JobNotice, const JobProgress&) override {}
    bool CancelRequested() override { return false; }
    int64_t NowSeconds() override { return 0; }
    const char* ProgramPath() override { return "none"; }
    SilentSink sink;
};

std::string ReadFile(const std::string& path) {
    std::string bytes;
    if (FILE* file = fopen(path.c_str(), "rb")) {
        char chunk[65536];
        size_t got;
        while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
        fclose(file);
    }
    return bytes;
}

// The ".imz" the program would make of the disk.
bool MakeImage(const std::string& disk, const std::string& image) {
    MemoryFloppyDevice device(disk.data(), static_cast<uint32_t>(disk.size()), *FindFloppyType(18));
    JobRequest request;
    snprintf(request.imagePath, sizeof request.imagePath, "%s", image.c_str());
    snprintf(request.description, sizeof request.description, "bench");
    BenchHost host;
    ReadFloppyJob job(request, host, device);
    return job.Run() == 0;
}

// One run in milliseconds; negative when it failed.
double Timed(const std::function<bool()>& run) {
    const auto start = std::chrono::steady_clock::now();
    if (!run()) return -1;
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    return took.count();
}

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: %s DISK_IMAGE WORK_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string disk = ReadFile(argv[1]);
    const std::string image = std::string(argv[2]) + "/check.imz";
    if (disk.size() != 1474560 || !MakeImage(disk, image)) {
        fprintf(stderr, "check bench: no 1440 kB image could be made from %s\n", argv[1]);
        return 1;
    }
    const std::string command = "bunzip2 -c " + Quoted(image) + " 2>/dev/null | sha256sum >/dev/null";
    double ours = 1e30;
    double theirs = 1e30;
    for (int round = 0; round < kRounds && ours >= 0 && theirs >= 0; ++round) {
        const double check = Timed([&] {
            SilentSink sink;
            PlainTexts texts;
            return CheckImageFile(image.c_str(), sink, texts) == 0;
        });
        const double shell = Timed([&] { return system(command.c_str()) == 0; });
        ours = check < 0 ? -1 : std::min(ours, check);
        theirs = shell < 0 ? -1 : std::min(theirs, shell);
    }
    if (ours < 0 || theirs < 0) {
        printf("%-26s failed\n", "check 1440 kB .imz");
        return 1;
    }
    const double ratio = ours / theirs;
    printf("%-26s %8.1f ms   %-12s %8.1f ms   ratio %5.2f (target %.2f: %s)\n", "check 1440 kB .imz",
           ours, "bunzip2|sha256sum", theirs, ratio, kTarget, ratio <= kTarget ? "met" : "MISSED");
    return 0;
}
