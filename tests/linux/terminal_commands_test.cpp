// The commands as the program runs them, over a simulated device: cancel and questions
// leave the target and the disk as they were, and each end has its exit status.
#include <signal.h>
#include <gtest/gtest.h>

#include "linux/interrupt_linux.h"
#include "linux/terminal_commands.h"
#include "linux/terminal_messages.h"
#include "resources/string_ids.h"
#include "tests/linux/simulated_device_calls.h"
#include "tests/support/image_files.h"
#include "tests/support/recording_sink.h"
#include "tests/support/temp_dir.h"

namespace {

constexpr char kDevice[] = "/dev/sdx";

class TerminalCommandsTest : public ::testing::Test {
protected:
    int Run(Command command, std::vector<std::string> operands) {
        Arguments arguments;
        arguments.command = command;
        arguments.device = kDevice;
        arguments.operands = std::move(operands);
        arguments.verify = verify;
        arguments.emergency = emergency;
        arguments.yes = yes;
        arguments.description = description;
        TerminalContext context{calls,
                                sink,
                                progress,
                                [this] { return ++cancelChecks > cancelAfter && cancelAfter >= 0; },
                                [] { return int64_t{100}; },
                                dir.File("no-stub.exe"),
                                [this](const std::string& text) { out += text; }};
        return RunCommand(arguments, context);
    }

    TempDir dir;
    SimulatedDeviceCalls calls{kDevice};
    RecordingSink sink;
    std::string shown;
    ProgressView progress{ProgressMode::Plain, [this](const std::string& text) { shown += text; }};
    int cancelAfter = -1;  // cancel once the flag has been looked at this often
    int cancelChecks = 0;
    VerifyChoice verify = VerifyChoice::Default;
    bool emergency = false;
    bool yes = false;
    std::string description;
    std::string out;
};

TEST_F(TerminalCommandsTest, CancelledReadLeavesTheExistingTargetAndNoOtherFile) {
    const std::string image = dir.File("disk.imz");
    WriteWholeFile(image, "the old image");
    cancelAfter = 20;
    EXPECT_EQ(Run(Command::Read, {image}), kStatusCancelled);
    EXPECT_EQ(ReadWholeFile(image), "the old image");
    EXPECT_EQ(FileNamesIn(dir.path()), std::vector<std::string>{"disk.imz"});
    ASSERT_FALSE(sink.shown.empty());
    EXPECT_EQ(sink.shown.back().id, static_cast<unsigned>(IDS_OPERATION_CANCELLED));
    EXPECT_EQ(calls.openDescriptors, 0);
}

TEST_F(TerminalCommandsTest, CancelledWriteStopsWritingAndClosesTheDevice) {
    const std::string image = dir.File("disk.img");
    WriteWholeFile(image, calls.disk);
    const std::string before(calls.disk.size(), '\0');
    calls.disk = before;
    cancelAfter = 10;
    EXPECT_EQ(Run(Command::Write, {image}), kStatusCancelled);
    EXPECT_EQ(calls.openDescriptors, 0);
    EXPECT_NE(calls.disk.substr(calls.disk.size() - 10240), ReadWholeFile(image).substr(calls.disk.size() - 10240))
        << "the units after the cancel were not written";
}

// A bomb of a few kilobytes is refused as too large, and Ctrl-C during its load ends the
// check at once as cancelled.
TEST_F(TerminalCommandsTest, CheckOfABombEndsRefusedOrCancelled) {
    const std::string image = dir.File("bomb.imz");
    WriteWholeFile(image, Bzip2Bomb());
    EXPECT_EQ(Run(Command::Check, {image}), kStatusNotDone);
    ASSERT_FALSE(sink.shown.empty());
    EXPECT_EQ(sink.shown.back().id, static_cast<unsigned>(IDS_IMAGE_TOO_LARGE));

    sink.shown.clear();
    cancelAfter = 3;
    EXPECT_EQ(Run(Command::Check, {image}), kStatusCancelled);
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].id, static_cast<unsigned>(IDS_OPERATION_CANCELLED));
    EXPECT_TRUE(out.empty());
}

struct Declined {
    const char* name;
    Command command;
    bool targetExists;
};

class DeclinedQuestionTest : public TerminalCommandsTest, public ::testing::WithParamInterface<Declined> {};

TEST_P(DeclinedQuestionTest, ChangesNothingAndEndsWithOne) {
    const std::string image = dir.File("disk.img");
    const std::string disk = calls.disk;
    WriteWholeFile(image, std::string(disk.size(), 'x'));
    sink.answers = {MessageAnswer::No};
    EXPECT_EQ(Run(GetParam().command, {image}), kStatusNotDone);
    EXPECT_EQ(calls.disk, disk);
    EXPECT_EQ(ReadWholeFile(image), std::string(disk.size(), 'x'));
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].style, MessageStyle::Question);
}

INSTANTIATE_TEST_SUITE_P(Questions, DeclinedQuestionTest,
                         ::testing::Values(Declined{"ReplaceImage", Command::Read, true},
                                           Declined{"OverwriteDisk", Command::Write, true}),
                         [](const ::testing::TestParamInfo<Declined>& p) { return p.param.name; });

struct Reread {
    const char* name;
    bool yes;
    std::vector<MessageAnswer> answers;
    std::vector<unsigned> asked;
    bool wholeDisk;  // else only the sectors the map lists were read again
};

class RereadOfferTest : public TerminalCommandsTest, public ::testing::WithParamInterface<Reread> {};

// A sector outside every unit that holds a lost one changes on the disk between the two
// reads: only a read of the whole disk takes it.
TEST_P(RereadOfferTest, EmergencyReadOntoAMappedImage) {
    constexpr uint32_t kLost = 5;
    constexpr size_t kChanged = 100 * 512;
    const std::string image = dir.File("disk.img");
    emergency = true;
    calls.badReadSectors[kLost] = EIO;
    ASSERT_EQ(Run(Command::Read, {image}), kStatusDone);
    ASSERT_FALSE(ReadWholeFile(image + ".map").empty());
    calls.badReadSectors.clear();
    const std::string before = calls.disk.substr(kChanged, 512);
    calls.disk.replace(kChanged, 512, std::string(512, 'n'));
    sink.shown.clear();
    sink.answers = GetParam().answers;
    yes = GetParam().yes;

    EXPECT_EQ(Run(Command::Read, {image}), kStatusDone);

    std::vector<unsigned> asked;
    for (const RecordingSink::Shown& message : sink.shown) {
        if (message.style == MessageStyle::Question) asked.push_back(message.id);
    }
    EXPECT_EQ(asked, GetParam().asked);
    const std::string made = ReadWholeFile(image);
    EXPECT_EQ(made.substr(kLost * 512, 512), calls.disk.substr(kLost * 512, 512));
    EXPECT_EQ(made.substr(kChanged, 512), GetParam().wholeDisk ? std::string(512, 'n') : before);
}

INSTANTIATE_TEST_SUITE_P(
    Offers, RereadOfferTest,
    ::testing::Values(Reread{"YesOptionTakesIt", true, {}, {}, false},
                      Reread{"Accepted", false, {MessageAnswer::Yes}, {IDS_ASK_REREAD_BAD_SECTORS}, false},
                      Reread{"DeclinedReadsTheWholeDisk",
                             false,
                             {MessageAnswer::No, MessageAnswer::Yes},
                             {IDS_ASK_REREAD_BAD_SECTORS, IDS_ASK_REPLACE_EXISTING},
                             true}),
    [](const ::testing::TestParamInfo<Reread>& p) { return p.param.name; });

TEST_F(TerminalCommandsTest, WriteVerifiesUnlessToldNot) {
    const std::string image = dir.File("disk.img");
    WriteWholeFile(image, calls.disk);
    EXPECT_EQ(Run(Command::Write, {image}), kStatusDone);
    EXPECT_NE(shown.find("Verifying floppy (1440 kB): 100%"), std::string::npos) << shown;
    shown.clear();
    verify = VerifyChoice::Off;
    EXPECT_EQ(Run(Command::Write, {image}), kStatusDone);
    EXPECT_EQ(shown.find("Verifying"), std::string::npos) << shown;
}

TEST_F(TerminalCommandsTest, SelfExtractingImageNeedsTheStub) {
    EXPECT_EQ(Run(Command::Read, {dir.File("disk.exe")}), kStatusNotDone);
    EXPECT_EQ(sink.Ids(), std::vector<unsigned>{kMsgStubMissing});
    EXPECT_TRUE(calls.opens.empty()) << "refused before the device is touched";
}

TEST_F(TerminalCommandsTest, InfoOfAPlainImageSaysItHasNoTrailer) {
    const std::string image = dir.File("plain.img");
    WriteWholeFile(image, std::string(737280, '\xF6'));
    EXPECT_EQ(Run(Command::Info, {image}), kStatusDone);
    EXPECT_NE(out.find("Trailer:      none"), std::string::npos) << out;
    EXPECT_EQ(Run(Command::Info, {dir.File("missing.imz")}), kStatusNotDone);
    EXPECT_EQ(Run(Command::Info, {dir.File("notes.txt")}), kStatusRefused);
}

// Every name an image may have, through every command that takes an image: made by a
// read, checked, written back, converted there and back. Other programs' raw names hold
// exactly the disk's bytes; a ZIP archive is never made.
struct NameRow {
    const char* name;
    bool made;      // read and convert make it; else both refuse it with 120
    bool bare;      // exactly the disk's bytes, no trailer
    const char* kind;  // info's kind line
};

const NameRow kNames[] = {
    {"disk.img", true, false, "raw disk image (.img)"},
    {"DISK.IMA", true, true, "raw disk image (.ima)"},
    {"disk.vfd", true, true, "raw disk image (.vfd)"},
    {"disk.flp", true, true, "raw disk image (.flp)"},
    {"disk.imz", true, false, "compressed image (.imz)"},
    {"disk.zip", false, false, nullptr},
    {"disk.txt", false, false, nullptr},
};

class ImageNameTest : public TerminalCommandsTest, public ::testing::WithParamInterface<NameRow> {};

TEST_P(ImageNameTest, IsTakenOrRefusedByEveryCommand) {
    const NameRow& row = GetParam();
    const std::string image = dir.File(row.name);
    const std::string disk = calls.disk;
    const unsigned kCreatableOnly = IDS_ONLY_IMG_IMZ_EXE_CREATABLE;
    if (!row.made) {
        EXPECT_EQ(Run(Command::Read, {image}), kStatusRefused);
        const std::string source = dir.File("source.img");
        WriteWholeFile(source, disk);
        EXPECT_EQ(Run(Command::Convert, {source, image}), kStatusRefused);
        EXPECT_EQ(sink.Ids(), (std::vector<unsigned>{kCreatableOnly, kCreatableOnly}));
        EXPECT_FALSE(FileExists(image));
        return;
    }
    ASSERT_EQ(Run(Command::Read, {image}), kStatusDone);
    const std::string made = ReadWholeFile(image);
    EXPECT_EQ(made == disk, row.bare);
    EXPECT_EQ(Run(Command::Check, {image}), kStatusDone);
    EXPECT_EQ(Run(Command::Info, {image}), kStatusDone);
    EXPECT_NE(out.find(std::string("Kind:         ") + row.kind + "\n"), std::string::npos) << out;

    calls.disk.assign(disk.size(), '\0');
    EXPECT_EQ(Run(Command::Write, {image}), kStatusDone);
    EXPECT_TRUE(calls.disk == disk) << "the disk written from " << row.name << " differs";

    const std::string between = dir.File("between.imz");
    const std::string back = dir.File(std::string("back-") + row.name);
    EXPECT_EQ(Run(Command::Convert, {image, between}), kStatusDone);
    EXPECT_EQ(Run(Command::Convert, {between, back}), kStatusDone);
    EXPECT_EQ(ReadWholeFile(back) == disk, row.bare);
    EXPECT_EQ(sink.Ids(), std::vector<unsigned>{IDS_ASK_OVERWRITE_FLOPPY}) << "only the write asked";
}

INSTANTIATE_TEST_SUITE_P(Names, ImageNameTest, ::testing::ValuesIn(kNames),
                         [](const ::testing::TestParamInfo<NameRow>& p) {
                             std::string name = p.param.name;
                             return name.substr(name.size() - 3);
                         });

// Another program may keep an image whose trailer it never wrote under its own raw name:
// the trailer is still honoured, and only the data reaches the disk.
TEST_F(TerminalCommandsTest, ATrailerBehindABareRawImageIsHonoured) {
    const std::string disk = calls.disk;
    const std::string described = dir.File("described.img");
    description = "From elsewhere";
    ASSERT_EQ(Run(Command::Read, {described}), kStatusDone);
    const std::string image = dir.File("described.vfd");
    WriteWholeFile(image, ReadWholeFile(described));
    ASSERT_GT(ReadWholeFile(image).size(), disk.size());

    EXPECT_EQ(Run(Command::Info, {image}), kStatusDone);
    EXPECT_NE(out.find("Description:  From elsewhere"), std::string::npos) << out;
    calls.disk.assign(disk.size(), '\0');
    EXPECT_EQ(Run(Command::Write, {image}), kStatusDone);
    EXPECT_TRUE(calls.disk == disk);
}

// An emergency read may make a bare raw image; with no trailer to count what it lost,
// its map is the record, and the next emergency read offers to read only those again.
TEST_F(TerminalCommandsTest, EmergencyReadOntoABareRawImageKeepsItsMapAsTheRecord) {
    constexpr uint32_t kLost = 7;
    const std::string image = dir.File("rescue.ima");
    emergency = true;
    calls.badReadSectors[kLost] = EIO;
    ASSERT_EQ(Run(Command::Read, {image}), kStatusDone);
    EXPECT_EQ(ReadWholeFile(image).size(), calls.disk.size()) << "no trailer";
    EXPECT_FALSE(ReadWholeFile(image + ".map").empty());

    calls.badReadSectors.clear();
    sink.shown.clear();
    sink.answers = {MessageAnswer::Yes};
    EXPECT_EQ(Run(Command::Read, {image}), kStatusDone);
    ASSERT_FALSE(sink.shown.empty());
    EXPECT_EQ(sink.shown[0].id, static_cast<unsigned>(IDS_ASK_REREAD_BAD_SECTORS));
    EXPECT_EQ(sink.shown[0].number, 1);
    EXPECT_TRUE(ReadWholeFile(image) == calls.disk);
    EXPECT_FALSE(FileExists(image + ".map")) << "every sector has been read";
}

TEST(InterruptToCancel, CtrlCIsNotedInsteadOfEndingTheProcessAndTheOldHandlerReturns) {
    struct sigaction before = {};
    sigaction(SIGINT, nullptr, &before);
    {
        InterruptToCancel interrupt;
        EXPECT_FALSE(interrupt.Requested());
        raise(SIGINT);
        EXPECT_TRUE(interrupt.Requested());
    }
    struct sigaction after = {};
    sigaction(SIGINT, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler);
    InterruptToCancel again;
    EXPECT_FALSE(again.Requested()) << "a new run starts uncancelled";
}

}  // namespace
