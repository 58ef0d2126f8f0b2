// How fast and how big the two jobs are, against the tools that do the same work:
// the read job to ".imz" against `bzip2 -9`, the write job from ".imz" against
// `bunzip2`, and both jobs with raw ".img" images against `dd bs=10240`; the write job's
// verify pass (the disk read back and compared) against the read job to ".img". The disk is a
// simulated 1440 kB floppy holding the image made by bench/make-bench-disk. It prints;
// it does not judge (times on a shared machine vary).
//
//   job_bench DISK_IMAGE WORK_FOLDER
//   job_bench --child JOB DISK_IMAGE IMAGE_FILE   one job, then its peak memory
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "engine/job/job_host.h"
#include "engine/job/job_request.h"
#include "engine/job/read_floppy_job.h"
#include "engine/job/write_floppy_job.h"
#include "tests/support/simulated_floppy.h"

namespace {

constexpr int kRounds = 5;
constexpr double kCompressedTarget = 1.10;
constexpr double kRawTarget = 2.0;
constexpr double kVerifyTarget = 1.10;
constexpr long kMemoryTargetKb = 12 * 1024;

// A host without windows: messages go to stderr, notices are counted.
class BenchHost : public JobHost {
public:
    class Printer : public MessageSink {
    public:
        MessageAnswer Show(const UserMessage& message) override {
            fprintf(stderr, "message %u (%s, %ld)\n", message.id,
                    message.text ? message.text : "", message.number);
            return MessageAnswer::Ok;
        }
    };

    MessageSink& Messages() override { return printer_; }
    void Post(JobKind, JobNotice notice, const JobProgress& progress) override {
        last = notice;
        // The pass runs from its first notice to the job's end.
        if (progress.phase == JobPhase::Verify && !verifying) {
            verifying = true;
            verifyStart = std::chrono::steady_clock::now();
        }
        if (notice == JobNotice::Finished && verifying) {
            verifyMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                                 verifyStart)
                           .count();
        }
    }
    bool CancelRequested() override { return false; }
    int64_t NowSeconds() override { return static_cast<int64_t>(time(nullptr)); }
    const char* ProgramPath() override { return ""; }

    JobNotice last = JobNotice::Progress;
    bool verifying = false;
    std::chrono::steady_clock::time_point verifyStart;
    double verifyMs = -1;

private:
    Printer printer_;
};

std::string ReadFile(const std::string& path) {
    std::string bytes;
    FILE* file = fopen(path.c_str(), "rb");
    if (file == nullptr) return bytes;
    char piece[65536];
    size_t got = 0;
    while ((got = fread(piece, 1, sizeof piece, file)) > 0) bytes.append(piece, got);
    fclose(file);
    return bytes;
}

bool LoadDisk(SimulatedFloppy& disk, const std::string& bytes) {
    if (bytes.size() != disk.disk().size()) return false;
    memcpy(disk.disk().data(), bytes.data(), bytes.size());
    return true;
}

void Aim(JobRequest& request, const std::string& image) {
    snprintf(request.imagePath, sizeof request.imagePath, "%s", image.c_str());
}

// Reads `disk` into `image`: 0 on success.
int ReadJob(SimulatedFloppy& disk, const std::string& image) {
    JobRequest request;
    Aim(request, image);
    BenchHost host;
    ReadFloppyJob job(request, host, disk);
    return job.Run();
}

// Writes `image` onto `disk`: 0 on success. With `verifyMs` the disk is read back and
// compared, and the pass's own time goes there.
int WriteJob(SimulatedFloppy& disk, const std::string& image, double* verifyMs = nullptr) {
    JobRequest request;
    Aim(request, image);
    request.verify = verifyMs != nullptr;
    BenchHost host;
    WriteFloppyJob job(request, host, disk);
    const int result = job.Run();
    if (verifyMs != nullptr) *verifyMs = host.verifyMs;
    return result;
}

// The fastest verify pass of kRounds writes of `image`; negative when a run failed.
double FastestVerifyPass(SimulatedFloppy& disk, const std::string& image) {
    double best = 1e30;
    for (int round = 0; round < kRounds; ++round) {
        double pass = -1;
        if (WriteJob(disk, image, &pass) != 0 || pass < 0) return -1;
        best = std::min(best, pass);
    }
    return best;
}

// The fastest of kRounds runs, in milliseconds; negative when a run failed.
double Fastest(const std::function<bool()>& run) {
    double best = 1e30;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        if (!run()) return -1;
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

bool Shell(const std::string& command) {
    return system(command.c_str()) == 0;
}

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

void Compare(const char* what, double ours, const char* tool, double theirs, double target) {
    if (ours < 0 || theirs < 0) {
        printf("%-26s failed\n", what);
        return;
    }
    const double ratio = ours / theirs;
    printf("%-26s %8.1f ms   %-12s %8.1f ms   ratio %5.2f (target %.2f: %s)\n", what, ours, tool,
           theirs, ratio, target, ratio <= target ? "met" : "MISSED");
}

long StatusKb(const char* field) {
    FILE* status = fopen("/proc/self/status", "r");
    if (status == nullptr) return -1;
    char line[256];
    long value = -1;
    const size_t length = strlen(field);
    while (fgets(line, sizeof line, status) != nullptr) {
        if (strncmp(line, field, length) == 0) value = strtol(line + length, nullptr, 10);
    }
    fclose(status);
    return value;
}

// In a fresh process: the disk is loaded, then one job runs. Prints the process's peak
// and how far the job raised it above what the process held before.
int Child(const std::string& job, const std::string& diskPath, const std::string& image) {
    SimulatedFloppy disk(18);
    if (!LoadDisk(disk, ReadFile(diskPath))) return 1;
    // Forget the peak of loading the disk: from here on it is the job's.
    if (FILE* clear = fopen("/proc/self/clear_refs", "w")) {
        fputs("5", clear);
        fclose(clear);
    }
    const long before = StatusKb("VmRSS:");
    const int result = job == "read" ? ReadJob(disk, image) : WriteJob(disk, image);
    printf("%ld %ld\n", StatusKb("VmHWM:"), StatusKb("VmHWM:") - before);
    return result == 0 ? 0 : 1;
}

std::string OwnPath() {
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    return std::string(self, length > 0 ? static_cast<size_t>(length) : 0);
}

void Memory(const char* what, const std::string& job, const std::string& diskPath,
            const std::string& image) {
    const std::string command = Quoted(OwnPath()) + " --child " + job + " " + Quoted(diskPath) +
                                " " + Quoted(image);
    FILE* child = popen(command.c_str(), "r");
    long peak = -1;
    long raised = -1;
    if (child == nullptr || fscanf(child, "%ld %ld", &peak, &raised) != 2) {
        printf("%-26s peak memory unknown\n", what);
    } else {
        printf("%-26s process peak %6ld kB, the job's own %6ld kB (target below %ld kB: %s)\n",
               what, peak, raised, kMemoryTargetKb, raised < kMemoryTargetKb ? "met" : "MISSED");
    }
    if (child != nullptr) pclose(child);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && strcmp(argv[1], "--child") == 0) {
        return Child(argv[2], argv[3], argv[4]);
    }
    if (argc != 3) {
        fprintf(stderr, "usage: %s DISK_IMAGE WORK_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string diskPath = argv[1];
    const std::string folder = argv[2];
    const std::string disk = ReadFile(diskPath);
    SimulatedFloppy source(18);
    if (!LoadDisk(source, disk)) {
        fprintf(stderr, "%s is not a 1440 kB disk image\n", diskPath.c_str());
        return 1;
    }
    const std::string jobImz = folder + "/job.imz";
    const std::string jobImg = folder + "/job.img";
    const std::string toolBz2 = folder + "/tool.bz2";
    const std::string toolOut = folder + "/tool.img";
    const std::string ddImg = folder + "/dd.img";
    const std::string ddOut = folder + "/dd-out.img";

    printf("Disk: %s, %zu bytes; fastest of %d runs each\n\n", diskPath.c_str(), disk.size(),
           kRounds);
    const double readImz = Fastest([&] { return ReadJob(source, jobImz) == 0; });
    const double bzip2 = Fastest([&] {
        return Shell("bzip2 -9 -c " + Quoted(diskPath) + " > " + Quoted(toolBz2));
    });
    SimulatedFloppy target(18);
    const double writeImz = Fastest([&] { return WriteJob(target, jobImz) == 0; });
    const bool imzRestored = target.disk() == source.disk();
    const double bunzip2 = Fastest([&] {
        return Shell("bunzip2 -c " + Quoted(toolBz2) + " > " + Quoted(toolOut));
    });
    const double readImg = Fastest([&] { return ReadJob(source, jobImg) == 0; });
    const double ddRead = Fastest([&] {
        return Shell("dd if=" + Quoted(diskPath) + " of=" + Quoted(ddImg) + " bs=10240 status=none");
    });
    SimulatedFloppy rawTarget(18);
    const double writeImg = Fastest([&] { return WriteJob(rawTarget, jobImg) == 0; });
    const bool imgRestored = rawTarget.disk() == source.disk();
    SimulatedFloppy verifyTarget(18);
    const double verifyPass = FastestVerifyPass(verifyTarget, jobImg);
    const double ddWrite = Fastest([&] {
        return Shell("dd if=" + Quoted(ddImg) + " of=" + Quoted(ddOut) +
                     " bs=10240 conv=notrunc status=none");
    });

    Compare("read job to .imz", readImz, "bzip2 -9", bzip2, kCompressedTarget);
    Compare("write job from .imz", writeImz, "bunzip2", bunzip2, kCompressedTarget);
    Compare("read job to .img", readImg, "dd bs=10240", ddRead, kRawTarget);
    Compare("write job from .img", writeImg, "dd bs=10240", ddWrite, kRawTarget);
    Compare("verify pass (1440 kB)", verifyPass, "read to .img", readImg, kVerifyTarget);

    const std::string ours = ReadFile(jobImz);
    const std::string theirs = ReadFile(toolBz2);
    const size_t stream = ours.size() >= 1024 ? ours.size() - 1024 : 0;
    printf("\n.imz: %zu bytes (stream %zu + trailer 1024); bzip2 -9: %zu bytes; streams %s\n",
           ours.size(), stream, theirs.size(),
           ours.compare(0, stream, theirs) == 0 && stream == theirs.size() ? "identical"
                                                                           : "differ");
    printf("Disk restored byte for byte: from .imz %s, from .img %s\n\n",
           imzRestored ? "yes" : "NO", imgRestored ? "yes" : "NO");

    Memory("read job to .imz", "read", diskPath, jobImz);
    Memory("write job from .imz", "write", diskPath, jobImz);
    Memory("read job to .img", "read", diskPath, jobImg);
    Memory("write job from .img", "write", diskPath, jobImg);
    return imzRestored && imgRestored ? 0 : 1;
}
