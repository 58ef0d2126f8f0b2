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

#include "engine/nt_floppy_device.h"
#include "engine/write_floppy_job.h"
#include "resources/string_ids.h"
#include "tests/support/binary_data.h"
#include "tests/support/image_files.h"
#include "tests/support/job_test_host.h"
#include "tests/support/temp_dir.h"
#include "tests/win32/mapped_floppy.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr size_t kBytes1440 = 1474560;

// Answers each control code with the error set for it (none: success) and notes every
// call with what the disk held at that moment.
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

    void Refuse(uint32_t code, uint32_t error) { errors_[code] = error; }
    const std::vector<Call>& calls() const { return calls_; }

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
        if (refused == self.errors_.end()) return true;
        *error = refused->second;
        return false;
    }

    std::string image_;
    std::map<uint32_t, uint32_t> errors_;
    std::vector<Call> calls_;
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
        request_.compressed = false;
        request_.imageSectorsPerTrack = 18;
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
        NtFloppyDevice device("A:", RecordedVolumeControl::Function());
        WriteFloppyJob job(request_, host_, device, DeviceMethod::Nt);
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
        EXPECT_THAT(control.Codes(), ElementsAre(FSCTL_LOCK_VOLUME));
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

}  // namespace
