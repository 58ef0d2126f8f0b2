// Finding the floppy drives over a made-up sysfs, describing their disks, and the drive a
// command takes when no -d names one.
#include <errno.h>
#include <gtest/gtest.h>

#include "linux/floppy_drive_search.h"
#include "linux/terminal_commands.h"
#include "resources/string_ids.h"
#include "tests/linux/simulated_device_calls.h"
#include "tests/support/image_files.h"
#include "tests/support/recording_sink.h"
#include "tests/support/temp_dir.h"

namespace {

using Kind = SimulatedDeviceCalls::Kind;

// A SCSI disk below a USB interface of the given class and subclass, bound to `driver`.
void AddUsbDisk(SimulatedDeviceCalls& calls, const std::string& name, const std::string& port,
                const char* subclass, const char* driver, bool removable, const char* sectors,
                const char* vendor, const char* model) {
    const std::string interface = "/sys/devices/pci0000:00/0000:00:14.0/usb1/" + port + "/" + port + ":1.0";
    const std::string disk = interface + "/host6/target6:0:0/6:0:0:0";
    calls.sysLinks["/sys/block/" + name] = disk + "/block/" + name;
    calls.sysLinks[disk + "/block/" + name + "/device"] = disk;
    calls.sysLinks[interface + "/driver"] = std::string("/sys/bus/usb/drivers/") + driver;
    calls.sysFiles["/sys/devices/pci0000:00/0000:00:14.0/usb1/" + port + "/bDeviceClass"] = "00\n";
    calls.sysFiles[interface + "/bInterfaceClass"] = "08\n";
    calls.sysFiles[interface + "/bInterfaceSubClass"] = std::string(subclass) + "\n";
    calls.sysFiles[disk + "/block/" + name + "/removable"] = removable ? "1\n" : "0\n";
    calls.sysFiles[disk + "/block/" + name + "/size"] = std::string(sectors) + "\n";
    calls.sysFiles[disk + "/vendor"] = vendor;
    calls.sysFiles[disk + "/model"] = model;
}

void AddControllerDrive(SimulatedDeviceCalls& calls, const std::string& name) {
    calls.sysLinks["/sys/block/" + name] = "/sys/devices/platform/floppy.0/block/" + name;
    calls.sysFiles["/sys/devices/platform/floppy.0/block/" + name + "/size"] = "2880\n";
}

// A laptop's worth of block devices, three of them floppy drives.
void AddMachine(SimulatedDeviceCalls& calls) {
    AddControllerDrive(calls, "fd0");
    const std::string ata = "/sys/devices/pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0";
    calls.sysLinks["/sys/block/sda"] = ata + "/block/sda";
    calls.sysFiles[ata + "/block/sda/removable"] = "0\n";
    calls.sysFiles[ata + "/block/sda/size"] = "1000215216\n";
    AddUsbDisk(calls, "sdb", "1-2", "04", "usb-storage", true, "0", "TEAC    ", "FD-05PUB        \n");
    AddUsbDisk(calls, "sdc", "1-3", "06", "usb-storage", true, "31250000", "SanDisk ", "Ultra           \n");
    AddUsbDisk(calls, "sdd", "1-4", "06", "usb-storage", true, "2880", "Generic ", "Flash Disk      \n");
    // A floppy-sized disk that is not removable, and a loop device of a floppy's size.
    AddUsbDisk(calls, "sde", "1-5", "06", "uas", false, "2880", "Fixed   ", "Disk            \n");
    calls.sysLinks["/sys/block/loop0"] = "/sys/devices/virtual/block/loop0";
    calls.sysFiles["/sys/devices/virtual/block/loop0/removable"] = "0\n";
    calls.sysFiles["/sys/devices/virtual/block/loop0/size"] = "2880\n";
}

TEST(FloppyDriveSearch, FindsTheControllerTheUfiDriveAndRemovableFloppySizedDisksOnly) {
    SimulatedDeviceCalls calls("/dev/fd0");
    AddMachine(calls);
    const std::vector<FloppyDrive> drives = FindFloppyDrives(calls);
    ASSERT_EQ(drives.size(), 3u);
    EXPECT_EQ(drives[0].device, "/dev/fd0");
    EXPECT_EQ(drives[0].kind, DriveKind::Controller);
    EXPECT_EQ(drives[1].device, "/dev/sdb");
    EXPECT_EQ(drives[1].kind, DriveKind::UsbFloppy);
    EXPECT_EQ(drives[1].vendor + "|" + drives[1].model, "TEAC|FD-05PUB");
    EXPECT_EQ(drives[2].device, "/dev/sdd");
    EXPECT_EQ(drives[2].kind, DriveKind::RemovableDisk);
}

TEST(FloppyDriveSearch, AUfiInterfaceOfAnotherDriverIsNoFloppyDrive) {
    SimulatedDeviceCalls calls("/dev/sdb");
    AddUsbDisk(calls, "sdb", "1-2", "04", "some-other-driver", false, "0", "X", "Y");
    EXPECT_TRUE(FindFloppyDrives(calls).empty());
}

struct MediumCase {
    const char* name;
    Kind kind;
    uint64_t bytes;
    int openReadError;
    int openWriteError;
    bool readOnly;
    const char* shown;  // the end of the drive's line
};

class MediumTest : public ::testing::TestWithParam<MediumCase> {};

TEST_P(MediumTest, TellsFormatProtectionOrWhyNot) {
    const MediumCase& c = GetParam();
    SimulatedDeviceCalls calls("/dev/sdb", c.kind, c.bytes);
    calls.openReadError = c.openReadError;
    calls.openWriteError = c.openWriteError;
    calls.readOnly = c.readOnly;
    FloppyDrive drive;
    drive.device = "/dev/sdb";
    drive.kind = c.kind == Kind::FloppyDrive ? DriveKind::Controller : DriveKind::UsbFloppy;
    const std::string line = DriveLine(drive, InspectMedium(calls, drive));
    EXPECT_EQ(line.substr(line.rfind("  ") + 2), c.shown) << line;
    EXPECT_EQ(calls.openDescriptors, 0);
}

const MediumCase kMedia[] = {
    {"Controller1440", Kind::FloppyDrive, 1474560, 0, 0, false, "1440 kB, 3.5-inch high density"},
    {"ControllerNoDisk", Kind::FloppyDrive, 1474560, ENXIO, 0, false, "no disk"},
    {"ControllerProtected", Kind::FloppyDrive, 1474560, 0, EROFS, false, "1440 kB, 3.5-inch high density, write-protected"},
    {"Usb720", Kind::BlockDevice, 737280, 0, 0, false, "720 kB, 3.5-inch double density"},
    {"UsbProtected", Kind::BlockDevice, 1474560, 0, 0, true, "1440 kB, 3.5-inch high density, write-protected"},
    {"UsbWithoutDiskHasNoSize", Kind::BlockDevice, 0, 0, 0, false, "no disk"},
    {"UsbNoMedium", Kind::BlockDevice, 1474560, ENOMEDIUM, 0, false, "no disk"},
    {"UsbOddSize", Kind::BlockDevice, 1000000, 0, 0, false, "a disk of no standard format"},
    {"NoPermission", Kind::BlockDevice, 1474560, EACCES, 0, false, "cannot be opened: Permission denied"},
};

INSTANTIATE_TEST_SUITE_P(Media, MediumTest, ::testing::ValuesIn(kMedia),
                         [](const ::testing::TestParamInfo<MediumCase>& p) { return p.param.name; });

// The commands without -d, through the command runner.
class DefaultDriveTest : public ::testing::Test {
protected:
    int Run(Command command, std::vector<std::string> operands) {
        Arguments arguments;
        arguments.command = command;
        arguments.operands = std::move(operands);
        arguments.yes = true;
        TerminalContext context{calls,     sink, progress, [] { return false; }, [] { return int64_t{0}; },
                                "no-stub", [this](const std::string& text) { out += text; }};
        return RunCommand(arguments, context);
    }

    TempDir dir;
    SimulatedDeviceCalls calls{"/dev/fd0", Kind::FloppyDrive};
    RecordingSink sink;
    ProgressView progress{ProgressMode::Quiet, [](const std::string&) {}};
    std::string out;
};

TEST_F(DefaultDriveTest, TheOnlyDriveIsTaken) {
    AddControllerDrive(calls, "fd0");
    const std::string image = dir.File("disk.ima");
    ASSERT_EQ(Run(Command::Read, {image}), kStatusDone);
    EXPECT_EQ(ReadWholeFile(image), calls.disk);
    ASSERT_EQ(Run(Command::Drives, {}), kStatusDone);
    EXPECT_EQ(out, "/dev/fd0    built-in floppy controller            1440 kB, 3.5-inch high density\n");
}

TEST_F(DefaultDriveTest, SeveralDrivesAreListedAndNoneIsOpened) {
    AddMachine(calls);
    const std::string image = dir.File("disk.img");
    WriteWholeFile(image, std::string(calls.disk.size(), 'x'));
    EXPECT_EQ(Run(Command::Write, {image}), kStatusNotDone);
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].id, static_cast<unsigned>(IDS_SEVERAL_DRIVES));
    const std::string& listed = sink.shown[0].text;
    for (const char* device : {"/dev/fd0 ", "/dev/sdb ", "/dev/sdd "}) EXPECT_NE(listed.find(device), std::string::npos);
    EXPECT_EQ(listed.find("/dev/sdc"), std::string::npos);
    for (const auto& open : calls.opens) EXPECT_FALSE(open.exclusive) << "no job opened a drive";
    EXPECT_NE(calls.disk, ReadWholeFile(image));
}

TEST_F(DefaultDriveTest, NoDriveIsRefusedAndDrivesSaysSo) {
    EXPECT_EQ(Run(Command::Read, {dir.File("disk.img")}), kStatusNotDone);
    EXPECT_EQ(Run(Command::Drives, {}), kStatusNotDone);
    EXPECT_EQ(sink.Ids(), (std::vector<unsigned>{IDS_NO_DRIVE_TO_USE, IDS_NO_FLOPPY_DRIVE}));
    EXPECT_TRUE(out.empty());
    EXPECT_TRUE(FileNamesIn(dir.path()).empty());
}

// The words are judged before any drive is looked for, as they are with -d.
TEST_F(DefaultDriveTest, AnImpossibleNameIsRefusedFirst) {
    const std::pair<Command, unsigned> cases[] = {{Command::Read, IDS_ONLY_IMG_IMZ_EXE_CREATABLE},
                                                  {Command::Write, IDS_ONLY_IMG_IMZ_READABLE}};
    for (const auto& [command, refusal] : cases) {
        sink.shown.clear();
        EXPECT_EQ(Run(command, {dir.File("notes.txt")}), kStatusRefused);
        EXPECT_EQ(sink.Ids(), (std::vector<unsigned>{refusal}));
    }
}

}  // namespace
