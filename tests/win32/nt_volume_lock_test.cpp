// The NT method's volume lock against drive A: mapped to a disk image (these run through
// scripts/with-floppy-image and skip elsewhere). A recording stands in for the control
// call, so that the answers of a real Windows - a disk in use, a driver without locks -
// can be given; one test takes Wine's own answer.
#include <windows.h>
#include <winioctl.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string.h>

#include <map>
#include <string>
#include <vector>

#include "engine/device/nt_floppy_device.h"
#include "engine/job/write_floppy_job.h"
#include "resources/string_ids.h"
#include "tests/support/binary_data.h"
#include "tests/support/image_files.h"
#include "tests/support/job_test_host.h"
#include "tests/support/temp_dir.h"
#include "tests/win32/mapped_floppy.h"

namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr size_t kBytes1440 = 1474560;

// Answers each control code with the error set for it (none: success), for all calls or
// the first few, and notes every call with what the disk held at that moment; the pauses
// between lock requests are noted, not slept.
class RecordedVolumeControl {
public:
    struct Call {
        uint32_t code;
        void* handle;
        std::string disk;
    };

    explicit RecordedVolumeControl(std::string image) : image_(std::move(image)) { Active() = this; }
    ~RecordedVolumeControl() { Active() = nullptr; }
    RecordedVolumeControl(const RecordedVolumeControl&) = delete;
    RecordedVolumeControl& operator=(const RecordedVolumeControl&) = delete;

    static VolumeControl Function() { return &Control; }
    static VolumePause Pause() { return &Paused; }

    // `times` < 0: every time.
    void Refuse(uint32_t code, uint32_t error, int times = -1) { errors_[code] = {error, times}; }
    const std::vector<Call>& calls() const { return calls_; }
    const std::vector<uint32_t>& pauses() const { return pauses_; }

    std::vector<uint32_t> Codes() const {
        std::vector<uint32_t> codes;
        for (const Call& call : calls_) codes.push_back(call.code);
        return codes;
    }

private:
    static RecordedVolumeControl*& Active() {
        static RecordedVolumeControl* active = nullptr;
        return active;
    }

    static bool Control(void* handle, uint32_t code, uint32_t* error) {
        RecordedVolumeControl& self = *Active();
        self.calls_.push_back(Call{code, handle, ReadWholeFile(self.image_)});
        const auto refused = self.errors_.find(code);
        if (refused == self.errors_.end() || refused->second.times == 0) return true;
        if (refused->second.times > 0) --refused->second.times;
        *error = refused->second.error;
        return false;
    }

    static void Paused(uint32_t milliseconds) { Active()->pauses_.push_back(milliseconds); }

    struct Refusal {
        uint32_t error;
        int times;
    };

    std::string image_;
    std::map<uint32_t, Refusal> errors_;
    std::vector<Call> calls_;
    std::vector<uint32_t> pauses_;
};

class NtFloppyDeviceLock : public ::testing::Test {
protected:
    void SetUp() override {
        image_ = MappedFloppyImage();
        if (image_.empty()) {
            GTEST_SKIP() << "drive A: is not mapped; run through scripts/with-floppy-image";
        }
    }

    // Drive A: holds `before`; the job is to write `data` over it from an ".img" image.
    void Prepare(const std::string& before, const std::string& data) {
        WriteWholeFile(image_, before);
        const std::string source = dir_.File("source.img");
        WriteWholeFile(source, data);
        ASSERT_LT(source.size(), sizeof request_.imagePath);
        strcpy(request_.imagePath, source.c_str());
    }

    std::string image_;
    TempDir dir_;
    TestJobHost host_;
    JobRequest request_;
};

struct AnswerCase {
    const char* name;
    DWORD lockError;      // 0: the lock is granted
    DWORD dismountError;  // 0: the dismount is done
    bool inUse;
};

class NtFloppyDeviceLockAnswers : public NtFloppyDeviceLock,
                                  public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(NtFloppyDeviceLockAnswers, WriteJobLocksAndDismountsBeforeWritingAndUnlocksAfter) {
    const AnswerCase& c = GetParam();
    const std::string before = BinaryTestData(kBytes1440, 81);
    const std::string data = BinaryTestData(kBytes1440, 82);
    Prepare(before, data);
    RecordedVolumeControl control(image_);
    if (c.lockError != 0) control.Refuse(FSCTL_LOCK_VOLUME, c.lockError);
    if (c.dismountError != 0) control.Refuse(FSCTL_DISMOUNT_VOLUME, c.dismountError);
    JobOutcome outcome;
    {
        NtFloppyDevice device("A:", RecordedVolumeControl::Function(), RecordedVolumeControl::Pause());
        WriteFloppyJob job(request_, host_, device);
        EXPECT_EQ(job.Run(), c.inUse ? -1 : 0);
        outcome = job.Outcome();
        EXPECT_TRUE(NothingHoldsFile(image_)) << "the job left the drive open";
    }

    const std::vector<RecordedVolumeControl::Call>& calls = control.calls();
    ASSERT_FALSE(calls.empty());
    for (const RecordedVolumeControl::Call& call : calls) {
        EXPECT_NE(call.handle, INVALID_HANDLE_VALUE);
        EXPECT_EQ(call.handle, calls[0].handle) << "not the transfer's handle";
    }
    if (c.inUse) {
        // Asked again until the bound, then given up.
        EXPECT_THAT(control.Codes(), Each(static_cast<uint32_t>(FSCTL_LOCK_VOLUME)));
        EXPECT_EQ(control.Codes().size(), control.pauses().size() + 1);
        EXPECT_THAT(host_.sink.Ids(), ElementsAre(static_cast<unsigned>(IDS_FLOPPY_IN_USE)));
        EXPECT_EQ(host_.sink.shown[0].text, "A:");
        EXPECT_EQ(outcome.end, JobEnd::Failed);
        EXPECT_EQ(outcome.messageId, static_cast<unsigned>(IDS_FLOPPY_IN_USE));
        EXPECT_TRUE(ReadWholeFile(image_) == before) << "a disk in use was written to";
        return;
    }
    EXPECT_THAT(host_.sink.Ids(), IsEmpty());
    EXPECT_EQ(outcome.end, JobEnd::Finished);
    EXPECT_TRUE(ReadWholeFile(image_) == data) << "the drive does not hold the image";
    if (c.lockError != 0) {
        // No lock to undo, and no dismount without one.
        EXPECT_THAT(control.Codes(), ElementsAre(FSCTL_LOCK_VOLUME));
        return;
    }
    ASSERT_THAT(control.Codes(),
                ElementsAre(FSCTL_LOCK_VOLUME, FSCTL_DISMOUNT_VOLUME, FSCTL_UNLOCK_VOLUME));
    EXPECT_TRUE(calls[0].disk == before) << "written before the lock";
    EXPECT_TRUE(calls[1].disk == before) << "written before the dismount";
    EXPECT_TRUE(calls[2].disk == data) << "unlocked before the last write";
}

INSTANTIATE_TEST_SUITE_P(
    Answers, NtFloppyDeviceLockAnswers,
    ::testing::Values(AnswerCase{"Granted", 0, 0, false},
                      // Wine grants the lock and refuses the dismount so.
                      AnswerCase{"DismountRefused", 0, ERROR_INVALID_PARAMETER, false},
                      AnswerCase{"FilesOpen", ERROR_ACCESS_DENIED, 0, true},
                      AnswerCase{"SharingViolation", ERROR_SHARING_VIOLATION, 0, true},
                      AnswerCase{"InvalidFunction", ERROR_INVALID_FUNCTION, 0, false},
                      AnswerCase{"NotSupported", ERROR_NOT_SUPPORTED, 0, false},
                      AnswerCase{"OtherRefusal", ERROR_INVALID_PARAMETER, 0, false}),
    [](const ::testing::TestParamInfo<AnswerCase>& param) { return std::string(param.param.name); });

// For reading the lock alone: the file system may keep its view of the disk.
TEST_F(NtFloppyDeviceLock, ReadLockTakesNoDismountAndEveryCloseUnlocksOnce) {
    WriteWholeFile(image_, BinaryTestData(kBytes1440, 83));
    RecordedVolumeControl control(image_);
    {
        NtFloppyDevice device("A:", RecordedVolumeControl::Function());
        EXPECT_EQ(device.LockVolume(DeviceAccess::Read), VolumeLock::Unsupported)
            << "locked without an open drive";
        EXPECT_THAT(control.calls(), IsEmpty());

        ASSERT_TRUE(device.Open(DeviceAccess::Read));
        EXPECT_EQ(device.LockVolume(DeviceAccess::Read), VolumeLock::Locked);
        EXPECT_THAT(control.Codes(), ElementsAre(FSCTL_LOCK_VOLUME));
        device.Close();
        device.Close();
        EXPECT_THAT(control.Codes(), ElementsAre(FSCTL_LOCK_VOLUME, FSCTL_UNLOCK_VOLUME));

        // Reopening starts without a lock; one taken again goes with the device.
        ASSERT_TRUE(device.Open(DeviceAccess::Write));
        device.Close();
        EXPECT_EQ(control.calls().size(), 2u);
        ASSERT_TRUE(device.Open(DeviceAccess::Write));
        EXPECT_EQ(device.LockVolume(DeviceAccess::Write), VolumeLock::Locked);
    }
    EXPECT_THAT(control.Codes(), ElementsAre(FSCTL_LOCK_VOLUME, FSCTL_UNLOCK_VOLUME, FSCTL_LOCK_VOLUME,
                                             FSCTL_DISMOUNT_VOLUME, FSCTL_UNLOCK_VOLUME));
    EXPECT_TRUE(NothingHoldsFile(image_));
}

// Wine's own answer through the system's control call: never "in use", and the writes
// that follow reach the disk.
TEST_F(NtFloppyDeviceLock, WineAnswersTheRealRequestsWithoutRefusingTheWrite) {
    std::string expected = BinaryTestData(kBytes1440, 84);
    WriteWholeFile(image_, expected);
    const std::string chunk(WriteFloppyJob::kChunkSize, 'w');
    {
        NtFloppyDevice device("A:");
        ASSERT_TRUE(device.Open(DeviceAccess::Write));
        const VolumeLock answer = device.LockVolume(DeviceAccess::Write);
        EXPECT_NE(answer, VolumeLock::InUse);
        RecordProperty("wine_lock_answer", answer == VolumeLock::Locked ? "Locked" : "Unsupported");
        uint32_t error = 0;
        EXPECT_TRUE(device.Write(20, chunk.data(), WriteFloppyJob::kChunkSize, &error)) << error;
        device.Close();
    }
    expected.replace(20 * FloppyDevice::kSectorSize, chunk.size(), chunk);
    EXPECT_TRUE(ReadWholeFile(image_) == expected);
    EXPECT_TRUE(NothingHoldsFile(image_));
}

// Explorer lets go of a disk a moment after its window closes: a write asks again for the
// lock, in short pauses, up to its bound; a read, which goes on without, does not wait.
struct RetryCase {
    const char* name;
    DeviceAccess access;
    DWORD error;
    int refusals;  // then granted; -1: throughout
    VolumeLock answer;
    size_t requests;
};

class NtFloppyDeviceLockRetries : public NtFloppyDeviceLock,
                                  public ::testing::WithParamInterface<RetryCase> {};

TEST_P(NtFloppyDeviceLockRetries, AsksAgainUpToTheBoundWithoutWaitingForReal) {
    const RetryCase& c = GetParam();
    WriteWholeFile(image_, BinaryTestData(kBytes1440, 85));
    RecordedVolumeControl control(image_);
    control.Refuse(FSCTL_LOCK_VOLUME, c.error, c.refusals);
    NtFloppyDevice device("A:", RecordedVolumeControl::Function(), RecordedVolumeControl::Pause());
    ASSERT_TRUE(device.Open(c.access));
    EXPECT_EQ(device.LockVolume(c.access), c.answer);

    std::vector<uint32_t> requests = control.Codes();
    if (!requests.empty() && requests.back() == FSCTL_DISMOUNT_VOLUME) requests.pop_back();
    EXPECT_EQ(requests.size(), c.requests);
    EXPECT_THAT(requests, Each(static_cast<uint32_t>(FSCTL_LOCK_VOLUME)));
    ASSERT_EQ(control.pauses().size() + 1, c.requests);
    uint32_t paused = 0;
    for (uint32_t pause : control.pauses()) {
        EXPECT_LE(pause, 500u) << "not a short pause";
        paused += pause;
    }
    if (c.answer == VolumeLock::InUse && c.access == DeviceAccess::Write) {
        EXPECT_EQ(paused, NtFloppyDevice::kLockWaitMs);
    }
}

constexpr size_t kWholeBound = 1 + NtFloppyDevice::kLockWaitMs / NtFloppyDevice::kLockRetryMs;

INSTANTIATE_TEST_SUITE_P(
    Answers, NtFloppyDeviceLockRetries,
    ::testing::Values(
        RetryCase{"FreedAfterTwoRefusals", DeviceAccess::Write, ERROR_ACCESS_DENIED, 2,
                  VolumeLock::Locked, 3},
        RetryCase{"SharingViolationThenFreed", DeviceAccess::Write, ERROR_SHARING_VIOLATION, 5,
                  VolumeLock::Locked, 6},
        RetryCase{"InUseThroughout", DeviceAccess::Write, ERROR_ACCESS_DENIED, -1,
                  VolumeLock::InUse, kWholeBound},
        RetryCase{"ReadDoesNotWait", DeviceAccess::Read, ERROR_ACCESS_DENIED, -1,
                  VolumeLock::InUse, 1},
        RetryCase{"DriverWithoutLocks", DeviceAccess::Write, ERROR_INVALID_FUNCTION, -1,
                  VolumeLock::Unsupported, 1}),
    [](const ::testing::TestParamInfo<RetryCase>& param) { return std::string(param.param.name); });

// After a failed transfer: the disk or the drive gone, against a sector that failed. "Not
// ready" alone is checked with the drive, which some drivers also give for one sector.
struct GoneCase {
    DWORD error;
    DWORD checkError;  // the medium check's answer; 0: the medium is there
    bool gone;
    bool checked;
};

class NtFloppyDeviceMediumGone : public NtFloppyDeviceLock,
                                 public ::testing::WithParamInterface<GoneCase> {};

TEST_P(NtFloppyDeviceMediumGone, TellsAMissingDiskFromABadSector) {
    const GoneCase& c = GetParam();
    WriteWholeFile(image_, BinaryTestData(kBytes1440, 86));
    RecordedVolumeControl control(image_);
    if (c.checkError != 0) control.Refuse(IOCTL_STORAGE_CHECK_VERIFY2, c.checkError);
    NtFloppyDevice device("A:", RecordedVolumeControl::Function());
    ASSERT_TRUE(device.Open(DeviceAccess::Read));
    EXPECT_EQ(device.MediumGone(c.error), c.gone) << c.error;
    if (c.checked) {
        EXPECT_THAT(control.Codes(), ElementsAre(static_cast<uint32_t>(IOCTL_STORAGE_CHECK_VERIFY2)));
    } else {
        EXPECT_THAT(control.Codes(), IsEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Errors, NtFloppyDeviceMediumGone,
    ::testing::Values(GoneCase{ERROR_NOT_READY, ERROR_NOT_READY, true, true},
                      GoneCase{ERROR_NOT_READY, ERROR_NO_MEDIA_IN_DRIVE, true, true},
                      GoneCase{ERROR_NOT_READY, ERROR_DEVICE_NOT_CONNECTED, true, true},
                      GoneCase{ERROR_NOT_READY, 0, false, true},
                      // A driver that cannot be asked: a sector that failed, as before.
                      GoneCase{ERROR_NOT_READY, ERROR_INVALID_FUNCTION, false, true},
                      GoneCase{ERROR_NOT_READY, ERROR_NOT_SUPPORTED, false, true},
                      GoneCase{ERROR_NO_MEDIA_IN_DRIVE, 0, true, false},
                      GoneCase{ERROR_DEVICE_REMOVED, 0, true, false},
                      GoneCase{ERROR_DEVICE_NOT_CONNECTED, 0, true, false},
                      GoneCase{ERROR_DEV_NOT_EXIST, 0, true, false},
                      GoneCase{ERROR_CRC, 0, false, false},
                      GoneCase{ERROR_SECTOR_NOT_FOUND, 0, false, false},
                      GoneCase{ERROR_WRITE_PROTECT, 0, false, false}));

// Wine gives "not ready" for a sector its file cannot read (the faulty floppy's), and its
// drive over a file cannot be asked for the medium: such a sector stays a bad sector.
TEST_F(NtFloppyDeviceLock, UnderWineNotReadyIsABadSector) {
    WriteWholeFile(image_, BinaryTestData(kBytes1440, 87));
    NtFloppyDevice device("A:");
    ASSERT_TRUE(device.Open(DeviceAccess::Read));
    EXPECT_FALSE(device.MediumGone(ERROR_NOT_READY));
    EXPECT_TRUE(device.MediumGone(ERROR_NO_MEDIA_IN_DRIVE));
}

}  // namespace
