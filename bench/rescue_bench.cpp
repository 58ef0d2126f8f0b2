// What an emergency read costs: device requests and time of an emergency read of a
// good 1440 kB disk against a normal read (the aim: the same 145 requests, time within
// 1.10), and of a disk with 10 bad sectors. The disk is the simulated drive of the tests
// with a pause per request that stands in for a real drive's rotation. It prints; it does
// not judge (times on a shared machine vary).
//
//   rescue_bench WORK_FOLDER
#include <stdio.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

#include "engine/job/job_host.h"
#include "engine/job/job_request.h"
#include "engine/job/read_floppy_job.h"
#include "tests/support/simulated_floppy.h"

namespace {

constexpr int kRounds = 3;
constexpr double kTimeTarget = 1.10;
// A floppy turns five times a second: a request costs at least part of a rotation.
constexpr auto kPerRequest = std::chrono::microseconds(200);

class QuietHost : public JobHost {
public:
    class Sink : public MessageSink {
    public:
        MessageAnswer Show(const UserMessage& message) override {
            if (message.style != MessageStyle::Warning) {
                fprintf(stderr, "message %u (%s, %ld)\n", message.id, message.text ? message.text : "",
                        message.number);
            }
            return MessageAnswer::Ok;
        }
    };

    MessageSink& Messages() override { return sink_; }
    void Post(JobKind, JobNotice notice, const JobProgress& progress) override {
        last = notice;
        bad = progress.badSectors;
    }
    bool CancelRequested() override { return false; }
    int64_t NowSeconds() override { return static_cast<int64_t>(time(nullptr)); }
    const char* ProgramPath() override { return ""; }

    JobNotice last = JobNotice::Progress;
    uint32_t bad = 0;

private:
    Sink sink_;
};

// The simulated drive, slowed to something like a drive's pace per request.
class PacedFloppy : public SimulatedFloppy {
public:
    using SimulatedFloppy::SimulatedFloppy;
    bool Read(uint32_t firstSector, void* buffer, uint32_t bytes, uint32_t* transferred,
              uint32_t* error) override {
        std::this_thread::sleep_for(kPerRequest);
        return SimulatedFloppy::Read(firstSector, buffer, bytes, transferred, error);
    }
};

struct Result {
    double seconds;
    size_t requests;
    uint32_t bad;
    bool finished;
};

Result ReadOnce(const std::string& image, bool emergency, int badSectors) {
    PacedFloppy disk(18);
    for (int i = 0; i < badSectors; ++i) disk.MakeUnreadable(static_cast<uint32_t>(137 + i * 271));
    JobRequest request;
    snprintf(request.imagePath, sizeof request.imagePath, "%s", image.c_str());
    request.emergency = emergency;
    request.compatible = true;
    QuietHost host;
    const auto start = std::chrono::steady_clock::now();
    {
        ReadFloppyJob job(request, host, disk);
        job.Run();
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    remove(image.c_str());
    remove((image + ".map").c_str());
    return Result{took.count(), disk.transfers().size(), host.bad,
                  host.last == JobNotice::Finished};
}

Result Best(const std::string& image, bool emergency, int badSectors) {
    Result best = ReadOnce(image, emergency, badSectors);
    for (int round = 1; round < kRounds; ++round) {
        const Result next = ReadOnce(image, emergency, badSectors);
        if (next.seconds < best.seconds) best = next;
    }
    return best;
}

void Print(const char* what, const Result& r) {
    printf("  %-34s %5zu requests  %7.3f s  %3u bad  %s\n", what, r.requests, r.seconds, r.bad,
           r.finished ? "finished" : "FAILED");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: rescue_bench WORK_FOLDER\n");
        return 2;
    }
    const std::string image = std::string(argv[1]) + "/rescue.img";
    printf("Emergency read (1440 kB, %lld us per request, best of %d):\n",
           static_cast<long long>(kPerRequest.count()), kRounds);
    const Result normal = Best(image, false, 0);
    const Result emergency = Best(image, true, 0);
    const Result damaged = Best(image, true, 10);
    Print("normal read, good disk", normal);
    Print("emergency read, good disk", emergency);
    Print("emergency read, 10 bad sectors", damaged);
    printf("  good disk: emergency/normal requests %zu/%zu (target equal), time ratio %.2f "
           "(target <= %.2f)\n",
           emergency.requests, normal.requests, emergency.seconds / normal.seconds, kTimeTarget);
    return normal.finished && emergency.finished && damaged.finished ? 0 : 1;
}
