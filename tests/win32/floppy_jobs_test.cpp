// Both jobs over the real device methods: the NT method against a disk image that Wine
// presents as drive A: (these run through scripts/with-floppy-image and skip elsewhere),
// the 9x method against the emulated VWIN32 service. And the job worker as the main
// dialog starts it: on its own thread, posting to a window.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/job_worker_win32.h"
#include "engine/device/nt_floppy_device.h"
#include "engine/device/vwin32_floppy_device_win32.h"
#include "engine/image/image_trailer.h"
#include "engine/job/platform_floppy_devices_win32.h"
#include "engine/job/read_floppy_job.h"
#include "engine/job/write_floppy_job.h"
#include "tests/support/binary_data.h"
#include "tests/support/image_files.h"
#include "tests/support/job_test_host.h"
#include "tests/support/simulated_floppy.h"
#include "tests/support/temp_dir.h"
#include "tests/win32/mapped_floppy.h"
#include "tests/win32/only_32_bit.h"
#include "tests/win32/vwin32_service_emulation.h"

namespace {

using ::testing::IsEmpty;

constexpr size_t kBytes1440 = 1474560;

template <size_t N>
void SetText(char (&field)[N], const std::string& text) {
    ASSERT_LT(text.size(), N);
    memcpy(field, text.c_str(), text.size() + 1);
}

void AimRead(JobRequest& request, const std::string& path) {
    request.kind = JobKind::Read;
    SetText(request.imagePath, path);
}

void AimWrite(JobRequest& request, const std::string& path) {
    request.kind = JobKind::Write;
    SetText(request.imagePath, path);
}

std::string TrailerBlock(int sectorsPerTrack) {
    TempDir dir;
    const std::string path = dir.File("trailer");
    WriteWholeFile(path, "");
    EXPECT_EQ(AppendImageTrailer(path.c_str(), "", sectorsPerTrack), 0);
    return ReadWholeFile(path);
}

// Drive A: is a disk image (the Unix file named in VORLIX_FLOPPY_IMAGE).
class MappedDrive : public ::testing::Test {
protected:
    void SetUp() override {
        image_ = MappedFloppyImage();
        if (image_.empty()) {
            GTEST_SKIP() << "drive A: is not mapped; run through scripts/with-floppy-image";
        }
    }

    std::string Insert(const std::string& bytes) {
        WriteWholeFile(image_, bytes);
        return bytes;
    }

    std::string image_;
    TempDir dir_;
    JobRequest request_;
    TestJobHost host_;
};

using JobsOverNtFloppyDevice = MappedDrive;

TEST_F(JobsOverNtFloppyDevice, ReadsTheDriveIntoEveryKind) {
    const std::string disk = Insert(BinaryTestData(kBytes1440, 51));
    host_.programPath = dir_.File("vorlix.exe");
    const std::string stub = WriteFakeProgram(host_.programPath);
    for (const char* name : {"disk.img", "disk.imz", "disk.exe"}) {
        SCOPED_TRACE(name);
        host_.posts.clear();
        const bool raw = std::string(name) == "disk.img";
        const std::string target = dir_.File(name);
        AimRead(request_, target);
        NtFloppyDevice device("A:");

        ReadFloppyJob job(request_, host_, device);
        EXPECT_EQ(job.Run(), 0);

        EXPECT_THAT(host_.sink.Ids(), IsEmpty());
        EXPECT_EQ(host_.Outcome(), JobNotice::Finished);
        const std::string image = ReadWholeFile(target);
        ASSERT_GT(image.size(), static_cast<size_t>(kImageTrailerSize));
        if (raw) {
            EXPECT_TRUE(image.substr(0, kBytes1440) == disk);
            EXPECT_EQ(image.size(), kBytes1440 + kImageTrailerSize);
        } else {
            const long offset = name == std::string("disk.exe") ? static_cast<long>(stub.size()) : 0;
            const StreamContents stream = DecompressFile(target, offset);
            EXPECT_TRUE(stream.complete);
            EXPECT_TRUE(stream.data == disk);
        }
        EXPECT_TRUE(NothingHoldsFile(image_)) << "the drive was left open";
    }
}

TEST_F(JobsOverNtFloppyDevice, WritesRawAndCompressedImagesOntoTheDrive) {
    for (const char* name : {"disk.img", "disk.imz"}) {
        SCOPED_TRACE(name);
        host_.posts.clear();
        Insert(std::string(kBytes1440, '\0'));
        const std::string data = BinaryTestData(kBytes1440, 52);
        const bool raw = std::string(name) == "disk.img";
        const std::string source = dir_.File(name);
        WriteWholeFile(source, (raw ? data : CompressedStream(data)) + TrailerBlock(18));
        AimWrite(request_, source);
        NtFloppyDevice device("A:");

        WriteFloppyJob job(request_, host_, device);
        EXPECT_EQ(job.Run(), 0);

        EXPECT_THAT(host_.sink.Ids(), IsEmpty());
        EXPECT_EQ(host_.Outcome(), JobNotice::Finished);
        EXPECT_TRUE(ReadWholeFile(image_) == data) << "the drive does not hold the image";
        EXPECT_TRUE(NothingHoldsFile(image_)) << "the drive was left open";
        EXPECT_TRUE(NothingHoldsFile(source)) << "the source was left open";
    }
}

TEST_F(JobsOverNtFloppyDevice, CancelledReadRemovesItsImage) {
    Insert(BinaryTestData(737280, 53));
    const std::string target = dir_.File("cancel.imz");
    AimRead(request_, target);
    host_.cancelAfterProgress = 10;
    NtFloppyDevice device("A:");

    ReadFloppyJob job(request_, host_, device);
    EXPECT_EQ(job.Run(), -1);

    EXPECT_FALSE(FileExists(target));
    EXPECT_EQ(host_.posts.size(), 10u);
    EXPECT_TRUE(NothingHoldsFile(image_));
}

// --- The job worker -------------------------------------------------------------------------------

// A message-only window that runs jobs on a JobWorker as the main dialog does and records
// the notices of the two jobs with the progress the worker holds at the time each is
// handled.
class NoticeWindow {
public:
    struct Notice {
        UINT message;
        WPARAM notice;
        JobProgress progress;
    };

    explicit NoticeWindow(JobWorker& worker) : worker_(worker) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = &Procedure;
        windowClass.hInstance = GetModuleHandleA(NULL);
        windowClass.lpszClassName = "VorlixJobNoticeTest";
        RegisterClassA(&windowClass);
        hwnd_ = CreateWindowA(windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL,
                              windowClass.hInstance, NULL);
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~NoticeWindow() {
        if (hwnd_ != NULL) DestroyWindow(hwnd_);
    }
    NoticeWindow(const NoticeWindow&) = delete;
    NoticeWindow& operator=(const NoticeWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    const std::vector<Notice>& notices() const { return notices_; }

    // Starts `request` on the worker and handles notices until its thread ends, within
    // `limitMs`. False when it did not end in time.
    bool Run(const JobRequest& request, DWORD limitMs) {
        if (!worker_.Start(request, hwnd_)) return false;
        const DWORD deadline = GetTickCount() + limitMs;
        bool ended = false;
        while (!ended) {
            const DWORD now = GetTickCount();
            if (static_cast<LONG>(deadline - now) <= 0) break;
            Pump();
            ended = worker_.WaitForEnd(std::min<DWORD>(deadline - now, 20));
        }
        Pump();  // notices posted just before the thread ended
        return ended;
    }

private:
    void Pump() {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }

    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<NoticeWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (self != nullptr && (message == WM_READ_PROGRESS || message == WM_WRITE_PROGRESS)) {
            EXPECT_EQ(lParam, 0);
            self->notices_.push_back(Notice{message, wParam, self->worker_.Progress()});
            return 0;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }

    JobWorker& worker_;
    HWND hwnd_ = NULL;
    std::vector<Notice> notices_;
};

using JobWorkerOverNtFloppyDevice = MappedDrive;

TEST_F(JobWorkerOverNtFloppyDevice, ReadAndWriteJobsPostTheirProgressToTheWindow) {
    const std::string disk = Insert(BinaryTestData(kBytes1440, 54));
    SystemTargetFiles files(true);
    PlatformFloppyDevices devices(5, kProgramTrailerPolicy, &files);
    JobWorker worker(&RunFloppyJob, devices, host_.sink);
    NoticeWindow window(worker);
    ASSERT_NE(window.hwnd(), static_cast<HWND>(NULL));

    const std::string image = dir_.File("worker.imz");
    AimRead(request_, image);
    SetText(request_.description, "made by the worker");
    ASSERT_TRUE(window.Run(request_, 60000)) << "the read job did not end";
    EXPECT_EQ(worker.Outcome().end, JobEnd::Finished);
    Insert(std::string(kBytes1440, '\0'));
    AimWrite(request_, image);
    ASSERT_TRUE(window.Run(request_, 60000)) << "the write job did not end";
    EXPECT_EQ(worker.Outcome().end, JobEnd::Finished);

    EXPECT_THAT(host_.sink.Ids(), IsEmpty());
    EXPECT_TRUE(ReadWholeFile(image_) == disk) << "the round trip changed the disk";
    const std::vector<NoticeWindow::Notice>& notices = window.notices();
    ASSERT_EQ(notices.size(), 2u * (144 + 1));
    uint32_t previous = 0;
    for (size_t i = 0; i < notices.size(); ++i) {
        SCOPED_TRACE(i);
        const bool reading = i < 145;
        const uint32_t unit = static_cast<uint32_t>(reading ? i : i - 145) + 1;
        if (unit == 1) previous = 0;
        const NoticeWindow::Notice& n = notices[i];
        EXPECT_EQ(n.message, reading ? WM_READ_PROGRESS : WM_WRITE_PROGRESS);
        EXPECT_EQ(n.notice, static_cast<WPARAM>(unit == 145 ? JobNotice::Finished
                                                            : JobNotice::Progress));
        // The handler sees this notice's progress or a newer one, but always one whole
        // snapshot: its fields belong to the same unit.
        EXPECT_STREQ(n.progress.sizeText, "1440 kB");
        EXPECT_EQ(n.progress.percentDone, n.progress.kilobytesCopied * 1024 * 100 / kBytes1440);
        EXPECT_GE(n.progress.kilobytesCopied, std::min<uint32_t>(unit, 144) * 10);
        EXPECT_GE(n.progress.kilobytesCopied, previous);
        previous = n.progress.kilobytesCopied;
    }
    EXPECT_EQ(notices[143].progress.percentDone, 100u);
    EXPECT_EQ(notices.back().progress.kilobytesCopied, 1440u);
}

// A cancel reaches the job once per unit; the next start begins afresh, without the
// cancel and without the old progress.
TEST_F(JobWorkerOverNtFloppyDevice, CancelledJobEndsWithoutANoticeAndTheNextStartsAfresh) {
    Insert(BinaryTestData(kBytes1440, 56));
    SystemTargetFiles files(true);
    PlatformFloppyDevices devices(5, kProgramTrailerPolicy, &files);
    JobWorker worker(&RunFloppyJob, devices, host_.sink);
    NoticeWindow window(worker);
    const std::string image = dir_.File("cancelled.img");
    AimRead(request_, image);
    worker.Cancel();  // before the start: the start clears it
    ASSERT_TRUE(window.Run(request_, 60000));
    EXPECT_EQ(worker.Outcome().end, JobEnd::Finished);
    const std::string finished = ReadWholeFile(image);

    ASSERT_TRUE(worker.Start(request_, window.hwnd()));
    worker.Cancel();
    ASSERT_TRUE(worker.WaitForEnd(60000));
    EXPECT_EQ(worker.Outcome().end, JobEnd::Cancelled);
    // The cancelled read over it leaves the finished image as it was, and nothing beside it.
    EXPECT_TRUE(ReadWholeFile(image) == finished) << "a cancelled read changed the image";
    EXPECT_EQ(FileNamesIn(dir_.path()).size(), 1u) << "a cancelled read left its image";
    EXPECT_THAT(host_.sink.Ids(), IsEmpty());
    EXPECT_TRUE(NothingHoldsFile(image_)) << "the drive was left open";
}

// --- The 9x method ------------------------------------------------------------------------------------

TEST(JobsOverVwin32Service, ReadAndWriteBackThroughTheService) {
    VORLIX_ONLY_32_BIT();
    TempDir dir;
    SimulatedFloppy original(18, SimulatedFloppy::Flavour::Vwin32);
    const std::string content = BinaryTestData(kBytes1440, 55);
    SetDiskBytes(original, content);
    JobRequest request;
    const std::string image = dir.File("service.imz");
    AimRead(request, image);
    {
        TestJobHost host;
        Vwin32ServiceEmulation service(original);
        Vwin32FloppyDevice device("A:", service.Calls());
        ReadFloppyJob job(request, host, device);
        EXPECT_EQ(job.Run(), 0);
        EXPECT_THAT(service.problems(), IsEmpty());
        EXPECT_EQ(service.OpenHandles(), 0u);
        EXPECT_EQ(host.Outcome(), JobNotice::Finished);
    }
    SimulatedFloppy copy(18, SimulatedFloppy::Flavour::Vwin32);
    AimWrite(request, image);
    {
        TestJobHost host;
        Vwin32ServiceEmulation service(copy);
        Vwin32FloppyDevice device("A:", service.Calls());
        WriteFloppyJob job(request, host, device);
        EXPECT_EQ(job.Run(), 0);
        EXPECT_THAT(service.problems(), IsEmpty());
        EXPECT_EQ(service.OpenHandles(), 0u);
        EXPECT_EQ(host.Outcome(), JobNotice::Finished);
    }
    EXPECT_TRUE(DiskBytes(copy) == content);
}

TEST(JobsOverVwin32Service, EmergencyReadAndWriteProtectionThroughTheService) {
    VORLIX_ONLY_32_BIT();
    TempDir dir;
    JobRequest request;
    SimulatedFloppy damaged(9, SimulatedFloppy::Flavour::Vwin32);
    damaged.MakeUnreadable(5, 0x17);
    std::string expected = DiskBytes(damaged);
    expected.replace(5 * 512, 512, 512, '\0');
    const std::string image = dir.File("rescued.img");
    AimRead(request, image);
    {
        TestJobHost host;
        request.emergency = true;
        request.compatible = true;
        Vwin32ServiceEmulation service(damaged);
        Vwin32FloppyDevice device("A:", service.Calls());
        ReadFloppyJob job(request, host, device);
        EXPECT_EQ(job.Run(), 0);
        EXPECT_THAT(service.problems(), IsEmpty());
        EXPECT_EQ(service.OpenHandles(), 0u);
    }
    EXPECT_TRUE(ReadWholeFile(image) == expected);

    SimulatedFloppy locked(9, SimulatedFloppy::Flavour::Vwin32);
    locked.SetWriteProtected(true);
    AimWrite(request, image);
    TestJobHost host;
    Vwin32ServiceEmulation service(locked);
    Vwin32FloppyDevice device("A:", service.Calls());
    WriteFloppyJob job(request, host, device);
    EXPECT_EQ(job.Run(), -1);
    EXPECT_THAT(host.sink.Ids(), ::testing::ElementsAre(57668u));
    EXPECT_EQ(service.OpenHandles(), 0u);
    EXPECT_THAT(service.problems(), IsEmpty());
}

}  // namespace
