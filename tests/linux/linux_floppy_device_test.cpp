// The device layer over a simulated kernel: which devices are taken, which refused and
// with which message, and how faults reach the jobs.
#include <errno.h>
#include <gtest/gtest.h>

#include "engine/device/floppy_type.h"
#include "engine/job/floppy_job_runner.h"
#include "linux/linux_floppy_device.h"
#include "linux/terminal_messages.h"
#include "resources/string_ids.h"
#include "tests/linux/simulated_device_calls.h"
#include "tests/support/job_test_host.h"
#include "tests/support/recording_sink.h"
#include "tests/support/temp_dir.h"

namespace {

using Kind = SimulatedDeviceCalls::Kind;
constexpr char kDevice[] = "/dev/sdx";

struct CheckCase {
    const char* name;
    Kind kind;
    uint64_t bytes;
    uint32_t floppySectors;
    DeviceAccess access;
    int openError;
    unsigned expectedId;  // 0: taken
};

class DeviceCheckTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(DeviceCheckTest, TakesFloppyFormatsOnlyAndNamesWhyNot) {
    const CheckCase& c = GetParam();
    SimulatedDeviceCalls calls(kDevice, c.kind, c.bytes);
    calls.floppySectors = c.floppySectors;
    (c.access == DeviceAccess::Write ? calls.openWriteError : calls.openReadError) = c.openError;
    RecordingSink sink;
    const int result = CheckDevice(calls, kDevice, c.access, sink);
    if (c.expectedId == 0) {
        EXPECT_EQ(result, 0);
        EXPECT_TRUE(sink.shown.empty());
    } else {
        EXPECT_EQ(result, -1);
        ASSERT_EQ(sink.shown.size(), 1u);
        EXPECT_EQ(sink.shown[0].id, c.expectedId);
    }
    EXPECT_EQ(calls.openDescriptors, 0) << "the check leaves nothing open";
}

const CheckCase kCheckCases[] = {
    {"UsbDrive1440", Kind::BlockDevice, 1474560, 0, DeviceAccess::Read, 0, 0},
    {"UsbDrive720", Kind::BlockDevice, 737280, 0, DeviceAccess::Write, 0, 0},
    {"UsbDrive1680", Kind::BlockDevice, 1720320, 0, DeviceAccess::Read, 0, 0},
    {"HardDiskRefused", Kind::BlockDevice, 8000000000ull, 0, DeviceAccess::Write, 0, kMsgNotFloppySize},
    {"OneSectorShortRefused", Kind::BlockDevice, 1474048, 0, DeviceAccess::Write, 0, kMsgNotFloppySize},
    {"FloppyDrive15", Kind::FloppyDrive, 1228800, 15, DeviceAccess::Read, 0, 0},
    {"UsbDrive360", Kind::BlockDevice, 368640, 0, DeviceAccess::Write, 0, 0},
    {"UsbDrive2880", Kind::BlockDevice, 2949120, 0, DeviceAccess::Read, 0, 0},
    {"FloppyDriveOfNoFormat", Kind::FloppyDrive, 1474560, 17, DeviceAccess::Read, 0, IDS_UNKNOWN_FLOPPY_TYPE},
    {"FloppyDrive18", Kind::FloppyDrive, 1474560, 18, DeviceAccess::Write, 0, 0},
    {"FloppyDrive21", Kind::FloppyDrive, 1720320, 21, DeviceAccess::Read, 0, 0},
    {"FileOfFloppySize", Kind::File, 737280, 0, DeviceAccess::Write, 0, 0},
    {"FileOfOtherSize", Kind::File, 1000000, 0, DeviceAccess::Read, 0, kMsgNotFloppySize},
    {"Fifo", Kind::Fifo, 0, 0, DeviceAccess::Read, 0, kMsgNotFloppyKind},
    {"WriteProtectedErofs", Kind::FloppyDrive, 1474560, 18, DeviceAccess::Write, EROFS, IDS_WRITE_PROTECTED},
    {"WriteProtectedEacces", Kind::BlockDevice, 1474560, 0, DeviceAccess::Write, EACCES, IDS_WRITE_PROTECTED},
    {"NoRightToRead", Kind::BlockDevice, 1474560, 0, DeviceAccess::Read, EACCES, IDS_UNABLE_TO_OPEN},
    {"NoMedium", Kind::FloppyDrive, 1474560, 18, DeviceAccess::Read, ENXIO, IDS_UNABLE_TO_OPEN},
    {"OpenedExclusivelyElsewhere", Kind::BlockDevice, 1474560, 0, DeviceAccess::Write, EBUSY, IDS_FLOPPY_IN_USE},
};

INSTANTIATE_TEST_SUITE_P(Devices, DeviceCheckTest, ::testing::ValuesIn(kCheckCases),
                         [](const ::testing::TestParamInfo<CheckCase>& p) { return p.param.name; });

// FDGETPRM's answers: the drive's own idea of the medium names the format.
struct FloppyAnswer {
    uint32_t size, sect, head, track;
    uint32_t kilobytes;  // 0: unknown
};

TEST(LinuxFloppyDeviceQuery, FdgetprmNamesEveryFormat) {
    const FloppyAnswer answers[] = {
        {320, 8, 1, 40, 160},     {360, 9, 1, 40, 180},     {640, 8, 2, 40, 320},
        {720, 9, 2, 40, 360},     {1440, 9, 2, 80, 720},    {2400, 15, 2, 80, 1200},
        {2880, 18, 2, 80, 1440},  {3360, 21, 2, 80, 1680},  {5760, 36, 2, 80, 2880},
        // Values that are not all one format's.
        {720, 9, 1, 40, 0},       {1440, 18, 2, 40, 0},     {3444, 21, 2, 82, 0},
        {5760, 17, 2, 80, 0},
    };
    for (const FloppyAnswer& a : answers) {
        SCOPED_TRACE(::testing::Message() << a.track << "x" << a.head << "x" << a.sect);
        SimulatedDeviceCalls calls("/dev/fd0", Kind::FloppyDrive, 2949120);
        calls.floppyTotalSectors = a.size;
        calls.floppySectors = a.sect;
        calls.floppyHeads = a.head;
        calls.floppyCylinders = a.track;
        LinuxFloppyDevice device(calls, "/dev/fd0");
        DiskGeometry geometry;
        const DeviceQuery result = device.QueryGeometry(DeviceAccess::Read, &geometry);
        EXPECT_EQ(calls.openDescriptors, 0);
        if (a.kilobytes == 0) {
            EXPECT_EQ(result, DeviceQuery::QueryFailed);
            continue;
        }
        ASSERT_EQ(result, DeviceQuery::Ok);
        const FloppyType* type = FindFloppyTypeOfGeometry(geometry);
        ASSERT_NE(type, nullptr);
        EXPECT_EQ(type->totalBytes, a.kilobytes * 1024);
    }
}

TEST(DeviceCheck, MissingDeviceIsNamed) {
    SimulatedDeviceCalls calls(kDevice);
    RecordingSink sink;
    EXPECT_EQ(CheckDevice(calls, "/dev/fd1", DeviceAccess::Read, sink), -1);
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].id, static_cast<unsigned>(IDS_UNABLE_TO_OPEN));
    EXPECT_EQ(sink.shown[0].text, "/dev/fd1");
    EXPECT_TRUE(calls.opens.empty());
}

TEST(DeviceCheck, ReadOnlyBlockDeviceIsWriteProtectedForWritesOnly) {
    SimulatedDeviceCalls calls(kDevice);
    calls.readOnly = true;
    RecordingSink sink;
    EXPECT_EQ(CheckDevice(calls, kDevice, DeviceAccess::Read, sink), 0);
    EXPECT_EQ(CheckDevice(calls, kDevice, DeviceAccess::Write, sink), -1);
    EXPECT_EQ(sink.Ids(), std::vector<unsigned>{IDS_WRITE_PROTECTED});
    EXPECT_EQ(calls.openDescriptors, 0);
}

TEST(DeviceCheck, MountedDeviceIsRefusedNamingItsMountPointBeforeAnyOpen) {
    SimulatedDeviceCalls calls(kDevice);
    calls.mounts = "/dev/sda1 / ext4 rw 0 0\n/dev/disk/by-id/usb-floppy /media/my\\040floppy vfat rw 0 0\n";
    calls.mountSources = {{"/dev/sda1", 0x0801}, {"/dev/disk/by-id/usb-floppy", SimulatedDeviceCalls::kDeviceNumber}};
    RecordingSink sink;
    EXPECT_EQ(CheckDevice(calls, kDevice, DeviceAccess::Write, sink), -1);
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].id, kMsgMounted);
    EXPECT_EQ(sink.shown[0].text, "/dev/sdx is mounted on /media/my floppy");
    EXPECT_TRUE(calls.opens.empty());
}

TEST(DeviceCheck, BlockDevicesOpenExclusivelyAndWriteSynchronously) {
    SimulatedDeviceCalls calls(kDevice);
    LinuxFloppyDevice device(calls, kDevice);
    ASSERT_TRUE(device.Open(DeviceAccess::Write));
    ASSERT_TRUE(device.Open(DeviceAccess::Read));  // reopening closes the first
    device.Close();
    ASSERT_EQ(calls.opens.size(), 2u);
    EXPECT_TRUE(calls.opens[0].exclusive && calls.opens[0].synchronous && calls.opens[0].write);
    EXPECT_TRUE(calls.opens[1].exclusive && !calls.opens[1].synchronous && !calls.opens[1].write);
    EXPECT_EQ(calls.openDescriptors, 0);
}

TEST(DeviceCheck, FilesAreNeitherExclusiveNorSynchronous) {
    SimulatedDeviceCalls calls(kDevice, Kind::File);
    LinuxFloppyDevice device(calls, kDevice);
    ASSERT_TRUE(device.Open(DeviceAccess::Write));
    EXPECT_FALSE(calls.opens[0].exclusive || calls.opens[0].synchronous);
}

// After a failed read, whether the medium has gone or a sector is bad.
enum class Aftermath { StillThere, NodeRemoved, NoLongerOpens, QueriesFail, SizeZero, OpenedOnlyOnce };

struct GoneCase {
    const char* name;
    Kind kind;
    int error;
    Aftermath aftermath;
    bool gone;
};

class MediumGoneTest : public ::testing::TestWithParam<GoneCase> {};

TEST_P(MediumGoneTest, TellsAGoneMediumFromABadSector) {
    const GoneCase& c = GetParam();
    SimulatedDeviceCalls calls(kDevice, c.kind);
    LinuxFloppyDevice device(calls, kDevice);
    ASSERT_TRUE(device.Open(DeviceAccess::Read));
    calls.badReadSectors = {{40, c.error}};
    std::string buffer(20 * 512, '\0');
    uint32_t transferred = 0, error = 0;
    ASSERT_FALSE(device.Read(40, &buffer[0], 20 * 512, &transferred, &error));
    EXPECT_EQ(error, static_cast<uint32_t>(c.error)) << "the errno as the kernel gave it";
    switch (c.aftermath) {
    case Aftermath::StillThere:
        break;
    case Aftermath::NodeRemoved:
        calls.removed = true;
        break;
    case Aftermath::NoLongerOpens:
        calls.openReadError = ENXIO;  // the floppy driver's answer without a disk
        break;
    case Aftermath::QueriesFail:
        calls.queryError = ENODEV;
        break;
    case Aftermath::SizeZero:
        calls.disk.clear();
        break;
    case Aftermath::OpenedOnlyOnce:
        calls.openReadError = EBUSY;
        break;
    }
    EXPECT_EQ(device.MediumGone(error), c.gone);
    EXPECT_EQ(calls.openDescriptors, 1) << "only the job's descriptor stays open";
}

const GoneCase kGoneCases[] = {
    {"NoMedium", Kind::BlockDevice, ENOMEDIUM, Aftermath::StillThere, true},
    {"NoDevice", Kind::BlockDevice, ENODEV, Aftermath::StillThere, true},
    {"NoSuchDeviceOrAddress", Kind::FloppyDrive, ENXIO, Aftermath::StillThere, true},
    {"BadSectorOnUsbDrive", Kind::BlockDevice, EIO, Aftermath::StillThere, false},
    {"BadSectorOnFloppyDrive", Kind::FloppyDrive, EIO, Aftermath::StillThere, false},
    {"BadSectorInFile", Kind::File, EIO, Aftermath::StillThere, false},
    {"UsbDriveUnplugged", Kind::BlockDevice, EIO, Aftermath::NodeRemoved, true},
    {"UsbDriveLeftWithSizeZero", Kind::BlockDevice, EIO, Aftermath::SizeZero, true},
    {"DiskTakenOutOfFloppyDrive", Kind::FloppyDrive, EIO, Aftermath::NoLongerOpens, true},
    {"FloppyDriveAnswersNoGeometry", Kind::FloppyDrive, EIO, Aftermath::QueriesFail, true},
    {"FileRemoved", Kind::File, EIO, Aftermath::NodeRemoved, true},
    {"FloppyDriveHeldByTheJobAlone", Kind::FloppyDrive, EIO, Aftermath::OpenedOnlyOnce, false},
    {"OtherErrorIsNoGoneMedium", Kind::BlockDevice, EPERM, Aftermath::NodeRemoved, false},
};

INSTANTIATE_TEST_SUITE_P(Errors, MediumGoneTest, ::testing::ValuesIn(kGoneCases),
                         [](const ::testing::TestParamInfo<GoneCase>& p) { return p.param.name; });

// The jobs over the device: what the user is told when the device fails them.
class DeviceJobTest : public ::testing::Test {
protected:
    JobOutcome Run(JobKind kind, SimulatedDeviceCalls& calls) {
        LinuxFloppyDevices devices(calls, kDevice);
        JobRequest request;
        strcpy(request.drive, kDevice);
        request.emergency = emergency;
        request.compatible = compatible;
        request.kind = kind;
        request.verify = verify;
        snprintf(request.imagePath, sizeof request.imagePath, "%s", image.c_str());
        const JobOutcome outcome = RunFloppyJob(request, host, devices);
        const TestJobHost::Posted* last = host.Last(JobNotice::Progress);
        badSectors = last != nullptr ? static_cast<long>(last->progress.badSectors) : -1;
        return outcome;
    }

    TempDir dir;
    std::string image = dir.File("disk.img");
    TestJobHost host;
    long badSectors = 0;
    bool verify = false;
    bool emergency = false;
    bool compatible = false;
};

TEST_F(DeviceJobTest, ReadCopiesTheBlockDeviceAndWriteRestoresIt) {
    SimulatedDeviceCalls source(kDevice);
    compatible = true;  // a bare image: its bytes are the disk's
    EXPECT_EQ(Run(JobKind::Read, source).end, JobEnd::Finished);
    EXPECT_EQ(ReadWholeFile(image), source.disk);

    SimulatedDeviceCalls target(kDevice);
    target.disk.assign(target.disk.size(), '\0');
    EXPECT_EQ(Run(JobKind::Write, target).end, JobEnd::Finished);
    EXPECT_EQ(target.disk, source.disk);
    EXPECT_EQ(target.flushes, 1) << "the last write waits for the disk";
    EXPECT_EQ(target.openDescriptors, 0);
}

TEST_F(DeviceJobTest, VerifyReadsTheMediumBackAndFindsALostWrite) {
    SimulatedDeviceCalls source(kDevice);
    compatible = true;
    ASSERT_EQ(Run(JobKind::Read, source).end, JobEnd::Finished);

    SimulatedDeviceCalls target(kDevice);
    target.disk.assign(target.disk.size(), '\0');
    target.silentlyLostSectors = {{1000, 0}};
    verify = true;
    EXPECT_EQ(Run(JobKind::Write, target).end, JobEnd::Failed);
    ASSERT_FALSE(host.sink.shown.empty());
    EXPECT_EQ(host.sink.shown.back().id, static_cast<unsigned>(IDS_VERIFY_MISMATCH));
    EXPECT_EQ(host.sink.shown.back().number, 1000);
    EXPECT_GE(target.cacheDrops, 1) << "the read-back must not come from memory";
    EXPECT_EQ(target.openDescriptors, 0);
}

// A device that goes between the front end's look and the job: the message names it whole.
TEST_F(DeviceJobTest, JobsNameTheWholeDevicePathWhenItWillNotOpen) {
    for (JobKind kind : {JobKind::Read, JobKind::Write}) {
        SimulatedDeviceCalls calls("/dev/disk/by-id/usb-TEAC_FD-05PUB");
        calls.openReadError = ENXIO;
        calls.openWriteError = ENXIO;
        WriteWholeFile(image, calls.disk);
        host.sink.shown.clear();
        LinuxFloppyDevices devices(calls, "/dev/disk/by-id/usb-TEAC_FD-05PUB");
        JobRequest request;
        strcpy(request.drive, "/dev/disk/by-id/usb-TEAC_FD-05PUB");
        request.kind = kind;
        snprintf(request.imagePath, sizeof request.imagePath, "%s", image.c_str());
        EXPECT_EQ(RunFloppyJob(request, host, devices).end, JobEnd::Failed);
        ASSERT_FALSE(host.sink.shown.empty());
        EXPECT_EQ(host.sink.shown.back().id, static_cast<unsigned>(IDS_UNABLE_TO_OPEN));
        EXPECT_EQ(host.sink.shown.back().text, "/dev/disk/by-id/usb-TEAC_FD-05PUB");
    }
}

TEST_F(DeviceJobTest, EmergencyReadCountsEachBadSectorAndZeroesIt) {
    SimulatedDeviceCalls calls(kDevice);
    calls.badReadSectors = {{5, EIO}, {2000, EIO}};
    emergency = true;
    compatible = true;
    EXPECT_EQ(Run(JobKind::Read, calls).end, JobEnd::Finished);
    EXPECT_EQ(badSectors, 2);
    std::string expected = calls.disk;
    expected.replace(5 * 512, 512, std::string(512, '\0'));
    expected.replace(2000 * 512, 512, std::string(512, '\0'));
    EXPECT_TRUE(ReadWholeFile(image) == expected) << "only the bad sectors are lost";
}

TEST_F(DeviceJobTest, ReadErrorWithoutEmergencyFailsWithTheErrno) {
    SimulatedDeviceCalls calls(kDevice);
    calls.badReadSectors = {{100, EIO}};
    EXPECT_EQ(Run(JobKind::Read, calls).end, JobEnd::Failed);
    ASSERT_FALSE(host.sink.shown.empty());
    EXPECT_EQ(host.sink.shown.back().id, static_cast<unsigned>(IDS_SECTOR_READ_FAILED_AT));
    EXPECT_EQ(host.sink.shown.back().number, EIO);
    EXPECT_FALSE(FileExists(image));
}

struct WriteFault {
    const char* name;
    int writeError;
    int flushError;
    unsigned expectedId;
};

class DeviceWriteFaultTest : public DeviceJobTest, public ::testing::WithParamInterface<WriteFault> {};

TEST_P(DeviceWriteFaultTest, IsReportedAsTheWriteJobsMessage) {
    const WriteFault& fault = GetParam();
    SimulatedDeviceCalls source(kDevice);
    compatible = true;
    ASSERT_EQ(Run(JobKind::Read, source).end, JobEnd::Finished);
    host.sink.shown.clear();

    SimulatedDeviceCalls target(kDevice);
    if (fault.writeError != 0) target.badWriteSectors = {{40, fault.writeError}};
    target.flushError = fault.flushError;
    EXPECT_EQ(Run(JobKind::Write, target).end, JobEnd::Failed);
    ASSERT_FALSE(host.sink.shown.empty());
    EXPECT_EQ(host.sink.shown.back().id, fault.expectedId);
    EXPECT_EQ(target.openDescriptors, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, DeviceWriteFaultTest,
    ::testing::Values(WriteFault{"ErofsOnWrite", EROFS, 0, IDS_WRITE_PROTECTED},
                      WriteFault{"EpermFromReadOnlyDevice", EPERM, 0, IDS_WRITE_PROTECTED},
                      WriteFault{"BadSector", EIO, 0, IDS_SECTOR_WRITE_FAILED_NO_TRAILER},
                      WriteFault{"LateErrorAtFlush", 0, EIO, IDS_SECTOR_WRITE_FAILED_NO_TRAILER}),
    [](const ::testing::TestParamInfo<WriteFault>& p) { return p.param.name; });

}  // namespace
