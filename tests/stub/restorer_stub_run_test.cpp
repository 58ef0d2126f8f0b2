// End-to-end runs of the restorer stub under Wine: vorlix.exe makes self-extracting
// images of the sample disks, and the images are started as a user would start them,
// with drive A: (and for one test B:) mapped to a scratch disk image. The stub's own
// string table is linked into this program, so message texts are compared with the
// real ones.
#include <windows.h>

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "engine/image/sha256_digest.h"
#include "resources/stub_ids.h"
#include "tests/gui/gui_environment.h"
#include "tests/gui/vorlix_driver.h"
#include "tests/support/binary_data.h"
#include "tests/support/temp_dir.h"

namespace {

using gui::DrivenProcess;
using gui::ShownMessage;

constexpr DWORD kJobMs = 120000;
constexpr DWORD kExitRejected = 0xFFFFFFFFu;

std::string StubFile() { return gui::WindowsPath(VORLIX_STUB_PROGRAM); }

std::string WindowsPathFromEnvironment(const char* name) {
    const char* value = getenv(name);
    return value != nullptr && value[0] == '/' ? gui::WindowsPath(value) : std::string();
}

std::string StubText(unsigned id, const std::string& argument = std::string()) {
    char text[1024] = "";
    LoadStringA(GetModuleHandleA(NULL), id, text, sizeof text);
    std::string message = text;
    for (const char* mark : {"%s", "%d"}) {
        const size_t at = message.find(mark);
        if (at != std::string::npos) message.replace(at, 2, argument);
    }
    return message;
}

std::set<DWORD> ThreadsOf(DWORD pid) {
    std::set<DWORD> threads;
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (!snapshot) return threads;
    THREADENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot.Get(), &entry); more; more = Thread32Next(snapshot.Get(), &entry)) {
        if (entry.th32OwnerProcessID == pid) threads.insert(entry.th32ThreadID);
    }
    return threads;
}

// Holds the first thread that `pid` starts after `known`, while this object lives: a
// stub's worker, stopped before it can write the whole disk. Invalid when none came.
class HeldThread {
public:
    HeldThread(DWORD pid, const std::set<DWORD>& known, DWORD ms) {
        for (DWORD start = GetTickCount(); GetTickCount() - start < ms && !thread_;) {
            for (DWORD id : ThreadsOf(pid)) {
                if (known.count(id) != 0) continue;
                thread_.Reset(OpenThread(THREAD_SUSPEND_RESUME, FALSE, id));
                if (thread_ && SuspendThread(thread_.Get()) == static_cast<DWORD>(-1)) thread_.Reset();
                break;
            }
        }
    }
    ~HeldThread() { Release(); }
    HeldThread(const HeldThread&) = delete;
    HeldThread& operator=(const HeldThread&) = delete;

    bool Held() const { return thread_.Valid(); }
    void Release() {
        if (thread_) ResumeThread(thread_.Get());
        thread_.Reset();
    }

private:
    UniqueHandle thread_;
};

std::string Trailer(const std::string& description, int sectorsPerTrack,
                    const std::string& data = std::string()) {
    std::string block = "[FileVersion 002] [Description " + description + "\x01" +
                        "] [SectorsPerTrack " + std::to_string(sectorsPerTrack) + "]";
    if (!data.empty()) {
        char hex[Sha256Digest::kHexLength + 1];
        Sha256Hex(data.data(), data.size(), hex);
        block += std::string(" [SHA256 ") + hex + "]";
    }
    block.resize(1024, '\0');
    return block;
}

class RestorerStubRunTest : public ::testing::Test {
protected:
    // The self-extracting images of the three sample disks, made once for all tests.
    static void SetUpTestSuite() {
        images_ = new TempDir;
        ready_ = !gui::VorlixProgram().empty() && !gui::FloppyImage().empty() &&
                 !gui::GuiDataFolder().empty() && gui::PrepareProfile() == 0;
        for (int size : {720, 1440, 1680}) {
            if (ready_) ready_ = MakeImage(size) == 0;
        }
    }
    static void TearDownTestSuite() {
        delete images_;
        images_ = nullptr;
    }

    void SetUp() override {
        if (gui::VorlixProgram().empty()) GTEST_SKIP() << "vorlix.exe is not built";
        if (gui::FloppyImage().empty()) GTEST_SKIP() << "drive A: is not mapped";
        ASSERT_TRUE(ready_) << "vorlix.exe could not make the self-extracting images";
    }

    void TearDown() override {
        stub_.Terminate();
        second_.Terminate();
    }

    static std::string ImagePath(int size) {
        return images_->File("sample-" + std::to_string(size) + ".exe");
    }
    static std::string Description(int size) { return "Sample disk of " + std::to_string(size) + " kB"; }

    static int MakeImage(int size) {
        if (gui::InsertDisk(gui::SampleDisk("sample", size)) != 0) return -1;
        DrivenProcess vorlix;
        if (vorlix.Start(gui::VorlixProgram(), {"/r", ImagePath(size), "/d", Description(size), "/f"}) != 0) {
            return -1;
        }
        if (!vorlix.Wait(kJobMs) || vorlix.ExitCode() != 0) {
            vorlix.Terminate();
            return -1;
        }
        return FileExists(ImagePath(size)) ? 0 : -1;
    }

    // Starts `program` and waits for its window.
    HWND StartStub(const std::string& program, const std::vector<std::string>& arguments = {}) {
        EXPECT_EQ(0, stub_.Start(program, arguments)) << "cannot start " << program;
        const HWND window = gui::WaitForTopWindow(stub_.Id(), nullptr, "Create Floppy");
        EXPECT_NE(nullptr, window) << "no \"Create Floppy\" window";
        return window;
    }

    ShownMessage ExpectMessage(unsigned id, const std::string& argument = std::string(),
                               DWORD ms = 20000) {
        ShownMessage box = gui::WaitForMessageBox(stub_.Id(), ms);
        EXPECT_NE(nullptr, box.window) << "message " << id << " did not come";
        if (box.window != NULL) {
            EXPECT_EQ("Rewinder", box.caption);
            EXPECT_EQ(StubText(id, argument), box.text);
        }
        return box;
    }

    // Presses "Create Floppy" and says Yes to the overwrite question.
    void CreateFloppy(HWND window) {
        ASSERT_TRUE(gui::PressButton(window, IDC_STUB_CREATE_FLOPPY));
        ShownMessage question = ExpectMessage(IDS_STUB_ASK_OVERWRITE);
        EXPECT_EQ((std::vector<int>{IDYES, IDNO}), question.buttons);
        ASSERT_TRUE(gui::Answer(question, IDYES));
    }

    DWORD ExitStatus(DrivenProcess& process, DWORD ms = 20000) {
        if (!process.Wait(ms)) {
            ADD_FAILURE() << "the stub did not end within " << ms << " ms";
            return STILL_ACTIVE;
        }
        return process.ExitCode();
    }

    static TempDir* images_;
    static bool ready_;
    DrivenProcess stub_;
    DrivenProcess second_;
    TempDir folder_;
};

TempDir* RestorerStubRunTest::images_ = nullptr;
bool RestorerStubRunTest::ready_ = false;

// The image vorlix.exe makes: the whole stub, the bzip2 stream straight behind it, and
// the trailer as the last 1024 bytes.
TEST_F(RestorerStubRunTest, ImageIsStubThenStreamThenTrailer) {
    const std::string stub = ReadWholeFile(StubFile());
    const std::string image = ReadWholeFile(ImagePath(1440));
    ASSERT_GT(image.size(), stub.size() + 1024);
    EXPECT_TRUE(image.compare(0, stub.size(), stub) == 0) << "the image does not begin with the stub";
    EXPECT_EQ(CompressedStreamSignatureBytes(), image.substr(stub.size(), 7));
    EXPECT_EQ(std::string::npos, stub.find(CompressedStreamSignatureBytes()));
    EXPECT_EQ(Trailer(Description(1440), 18, ReadWholeFile(gui::SampleDisk("sample", 1440))),
              image.substr(image.size() - 1024));
}

TEST_F(RestorerStubRunTest, WritesItsImageOntoABlankDiskAndEnds) {
    for (int size : {720, 1440}) {
        SCOPED_TRACE(size);
        ASSERT_EQ(0, gui::InsertDisk(gui::SampleDisk("blank", size)));
        const HWND window = StartStub(ImagePath(size));
        ASSERT_NE(nullptr, window);
        EXPECT_TRUE(gui::ControlVisible(window, IDC_STUB_DESCRIPTION));
        EXPECT_EQ(Description(size), gui::ControlText(window, IDC_STUB_DESCRIPTION));
        gui::SaveScreenshot(gui::ArtifactPath("restorer-stub.bmp"));
        CreateFloppy(window);
        ShownMessage done = ExpectMessage(IDS_STUB_SUCCESS, "", kJobMs);
        ASSERT_TRUE(gui::Answer(done, IDOK));
        EXPECT_EQ(0u, ExitStatus(stub_));
        EXPECT_TRUE(ReadWholeFile(gui::SampleDisk("sample", size)) == ReadWholeFile(gui::FloppyImage()))
            << "the disk differs from the sample it was read from";
    }
}

TEST_F(RestorerStubRunTest, SlashBInCapitalsWritesToDriveB) {
    const std::string driveB = WindowsPathFromEnvironment("VORLIX_FLOPPY_IMAGE_B");
    if (driveB.empty()) GTEST_SKIP() << "drive B: is not mapped (run through with-drive-b)";
    ASSERT_TRUE(CopyFileA(gui::SampleDisk("blank", 720).c_str(), driveB.c_str(), FALSE));
    ASSERT_EQ(0, gui::InsertDisk(gui::SampleDisk("blank", 1440)));
    const HWND window = StartStub(ImagePath(720), {"extra", "/B"});
    ASSERT_NE(nullptr, window);
    CreateFloppy(window);
    ASSERT_TRUE(gui::Answer(ExpectMessage(IDS_STUB_SUCCESS, "", kJobMs), IDOK));
    EXPECT_EQ(0u, ExitStatus(stub_));
    EXPECT_TRUE(ReadWholeFile(gui::SampleDisk("sample", 720)) == ReadWholeFile(driveB));
    EXPECT_TRUE(ReadWholeFile(gui::SampleDisk("blank", 1440)) == ReadWholeFile(gui::FloppyImage()))
        << "drive A: was written";
}

struct MismatchCase {
    int imageSize;
    int diskSize;
    unsigned message;
    const char* argument;
};

class RestorerStubMismatchTest : public RestorerStubRunTest,
                                 public ::testing::WithParamInterface<MismatchCase> {};

TEST_P(RestorerStubMismatchTest, WrongFormatIsRefusedAndTheDiskUntouched) {
    const MismatchCase& c = GetParam();
    ASSERT_EQ(0, gui::InsertDisk(gui::SampleDisk("blank", c.diskSize)));
    const HWND window = StartStub(ImagePath(c.imageSize));
    ASSERT_NE(nullptr, window);
    CreateFloppy(window);
    ASSERT_TRUE(gui::Answer(ExpectMessage(c.message, c.argument), IDOK));
    EXPECT_EQ(1u, ExitStatus(stub_));
    EXPECT_TRUE(ReadWholeFile(gui::SampleDisk("blank", c.diskSize)) == ReadWholeFile(gui::FloppyImage()));
}

INSTANTIATE_TEST_SUITE_P(
    Formats, RestorerStubMismatchTest,
    ::testing::Values(MismatchCase{1440, 720, IDS_STUB_NEEDS_OTHER_DENSITY, "high density (HD)"},
                      MismatchCase{720, 1440, IDS_STUB_NEEDS_OTHER_DENSITY, "double density (DD)"},
                      MismatchCase{1680, 1440, IDS_STUB_NEEDS_OTHER_FORMAT, "1680"}));

// A payload that begins after the first 524,288 bytes is not looked for; the file is
// otherwise a good image. Without a description the edit stays hidden.
TEST_F(RestorerStubRunTest, PayloadBeyondTheSearchLimitIsNoImage) {
    const std::string stub = ReadWholeFile(StubFile());
    const std::string image = ReadWholeFile(ImagePath(720));
    std::string filler(524288 - stub.size(), 'x');
    const std::string stream = image.substr(stub.size(), image.size() - stub.size() - 1024);
    const std::string path = folder_.File("far.exe");
    WriteWholeFile(path, stub + filler + stream + Trailer("", 9));
    ASSERT_EQ(0, gui::InsertDisk(gui::SampleDisk("blank", 720)));
    const HWND window = StartStub(path);
    ASSERT_NE(nullptr, window);
    EXPECT_FALSE(gui::ControlVisible(window, IDC_STUB_DESCRIPTION));
    CreateFloppy(window);
    ASSERT_TRUE(gui::Answer(ExpectMessage(IDS_STUB_EXE_HAS_NO_IMAGE), IDOK));
    EXPECT_EQ(1u, ExitStatus(stub_));
    EXPECT_TRUE(ReadWholeFile(gui::SampleDisk("blank", 720)) == ReadWholeFile(gui::FloppyImage()));
}

// A stream cut short is a failed read, not a disk "successfully created".
TEST_F(RestorerStubRunTest, CutShortPayloadIsAReadFailure) {
    const std::string image = ReadWholeFile(ImagePath(1440));
    const std::string path = folder_.File("cut.exe");
    WriteWholeFile(path, image.substr(0, image.size() / 2) + Trailer("cut", 18));
    ASSERT_EQ(0, gui::InsertDisk(gui::SampleDisk("blank", 1440)));
    const HWND window = StartStub(path);
    ASSERT_NE(nullptr, window);
    CreateFloppy(window);
    ASSERT_TRUE(gui::Answer(ExpectMessage(IDS_STUB_IMAGE_READ_FAILED, "", kJobMs), IDOK));
    EXPECT_EQ(1u, ExitStatus(stub_));
}

// One byte changed in the payload or in the checksum the trailer stores: the stub
// refuses before the drive is opened for writing, and the disk stays as it was.
struct DamageCase {
    const char* name;
    bool inChecksum;  // else in the middle of the stream
    unsigned message;
};

class RestorerStubDamageTest : public RestorerStubRunTest,
                               public ::testing::WithParamInterface<DamageCase> {};

TEST_P(RestorerStubDamageTest, DamagedImageWritesNothing) {
    const DamageCase& c = GetParam();
    const std::string stub = ReadWholeFile(StubFile());
    std::string image = ReadWholeFile(ImagePath(1440));
    const size_t digits = image.rfind("[SHA256 ");
    ASSERT_NE(std::string::npos, digits) << "the image carries no checksum";
    char& changed = c.inChecksum ? image[digits + 8 + 20]
                                 : image[stub.size() + (image.size() - 1024 - stub.size()) / 2];
    changed = c.inChecksum ? (changed == '0' ? '1' : '0') : static_cast<char>(changed ^ 0x10);
    const std::string path = folder_.File(std::string(c.name) + ".exe");
    WriteWholeFile(path, image);
    ASSERT_EQ(0, gui::InsertDisk(gui::SampleDisk("blank", 1440)));
    const HWND window = StartStub(path);
    ASSERT_NE(nullptr, window);
    CreateFloppy(window);
    ASSERT_TRUE(gui::Answer(ExpectMessage(c.message, "", kJobMs), IDOK));
    EXPECT_EQ(1u, ExitStatus(stub_));
    EXPECT_TRUE(ReadWholeFile(gui::SampleDisk("blank", 1440)) == ReadWholeFile(gui::FloppyImage()))
        << "a damaged image reached the disk";
}

INSTANTIATE_TEST_SUITE_P(
    OneByte, RestorerStubDamageTest,
    ::testing::Values(DamageCase{"Checksum", true, IDS_STUB_IMAGE_CHECKSUM_MISMATCH},
                      DamageCase{"Stream", false, IDS_STUB_IMAGE_READ_FAILED}),
    [](const ::testing::TestParamInfo<DamageCase>& param) { return std::string(param.param.name); });

TEST_F(RestorerStubRunTest, NoLeavesTheDialogOpenForAnotherTry) {
    ASSERT_EQ(0, gui::InsertDisk(gui::SampleDisk("blank", 720)));
    const HWND window = StartStub(ImagePath(720));
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(gui::PressButton(window, IDC_STUB_CREATE_FLOPPY));
    ASSERT_TRUE(gui::Answer(ExpectMessage(IDS_STUB_ASK_OVERWRITE), IDNO));
    EXPECT_FALSE(stub_.Wait(1000)) << "the stub ended after No";
    EXPECT_TRUE(IsWindowVisible(window));
    // Escape closes it without writing: declined.
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(1u, ExitStatus(stub_));
    EXPECT_TRUE(ReadWholeFile(gui::SampleDisk("blank", 720)) == ReadWholeFile(gui::FloppyImage()));
}

TEST_F(RestorerStubRunTest, CancelIsReportedAndTheProgramEnds) {
    ASSERT_EQ(0, gui::InsertDisk(gui::SampleDisk("blank", 1680)));
    const HWND window = StartStub(ImagePath(1680));
    ASSERT_NE(nullptr, window);
    CreateFloppy(window);
    const HWND progress = gui::WaitForDialogWith(stub_.Id(), IDC_STUB_PROGRESS_BAR);
    ASSERT_NE(nullptr, progress);
    ASSERT_TRUE(gui::PressButton(progress, IDCANCEL));
    ShownMessage box = gui::WaitForMessageBox(stub_.Id(), kJobMs);
    ASSERT_NE(nullptr, box.window);
    if (box.text == StubText(IDS_STUB_SUCCESS)) {
        gui::Answer(box, IDOK);
        GTEST_SKIP() << "the whole disk was written before Cancel arrived";
    }
    EXPECT_EQ("Rewinder", box.caption);
    EXPECT_EQ(StubText(IDS_STUB_CANCELLED), box.text);
    ASSERT_TRUE(gui::Answer(box, IDOK));
    EXPECT_EQ(2u, ExitStatus(stub_));
}

// The worker is held before its first chunk, so Cancel always comes in time; after the
// message the stub still waits for the worker, and ends with 2 only once it has stopped.
TEST_F(RestorerStubRunTest, CancelEndsWithTwoOnlyAfterTheWorkerStopped) {
    ASSERT_EQ(0, gui::InsertDisk(gui::SampleDisk("blank", 1680)));
    const HWND window = StartStub(ImagePath(1680));
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(gui::PressButton(window, IDC_STUB_CREATE_FLOPPY));
    ShownMessage question = ExpectMessage(IDS_STUB_ASK_OVERWRITE);
    const std::set<DWORD> before = ThreadsOf(stub_.Id());
    ASSERT_TRUE(gui::Answer(question, IDYES));
    HeldThread worker(stub_.Id(), before, 5000);
    if (!worker.Held()) GTEST_SKIP() << "the worker could not be held";
    const HWND progress = gui::WaitForDialogWith(stub_.Id(), IDC_STUB_PROGRESS_BAR, 5000);
    if (progress == NULL) {
        // Held inside the heap's lock, the worker would keep the window thread too.
        worker.Release();
        GTEST_SKIP() << "the worker was held where the window thread needs it";
    }
    ASSERT_TRUE(gui::PressButton(progress, IDCANCEL));
    ASSERT_TRUE(gui::Answer(ExpectMessage(IDS_STUB_CANCELLED), IDOK));
    EXPECT_FALSE(stub_.Wait(1500)) << "the stub ended under its worker";
    worker.Release();
    EXPECT_EQ(2u, ExitStatus(stub_, kJobMs));
}

// An image whose trailer is of a newer format: the stub says so once, before it writes,
// and then writes it as any other, its checksum checked.
TEST_F(RestorerStubRunTest, NewerImageIsWrittenAfterOneNotice) {
    std::string image = ReadWholeFile(ImagePath(720));
    const size_t version = image.size() - 1024 + (sizeof "[FileVersion " - 1);
    ASSERT_EQ("002", image.substr(version, 3));
    image.replace(version, 3, "003");
    const std::string path = folder_.File("newer.exe");
    WriteWholeFile(path, image);
    ASSERT_EQ(0, gui::InsertDisk(gui::SampleDisk("blank", 720)));
    const HWND window = StartStub(path);
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(gui::PressButton(window, IDC_STUB_CREATE_FLOPPY));
    ASSERT_TRUE(gui::Answer(ExpectMessage(IDS_STUB_NEWER_IMAGE_VERSION), IDOK));
    ASSERT_TRUE(gui::Answer(ExpectMessage(IDS_STUB_ASK_OVERWRITE), IDNO));
    CreateFloppy(window);  // told once: the question comes at once
    ASSERT_TRUE(gui::Answer(ExpectMessage(IDS_STUB_SUCCESS, "", kJobMs), IDOK));
    EXPECT_EQ(0u, ExitStatus(stub_));
    EXPECT_TRUE(ReadWholeFile(gui::SampleDisk("sample", 720)) == ReadWholeFile(gui::FloppyImage()))
        << "the disk differs from the sample it was read from";
}

// A log-off or shut-down during the write: the worker, held in its first chunk, is
// cancelled and waited for, and the stub ends as a cancel ends it, without a message,
// before the session takes it.
TEST_F(RestorerStubRunTest, SessionEndStopsTheWriteAsACancelDoes) {
    ASSERT_EQ(0, gui::InsertDisk(gui::SampleDisk("blank", 1680)));
    const HWND window = StartStub(ImagePath(1680));
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(gui::PressButton(window, IDC_STUB_CREATE_FLOPPY));
    ShownMessage question = ExpectMessage(IDS_STUB_ASK_OVERWRITE);
    const std::set<DWORD> before = ThreadsOf(stub_.Id());
    ASSERT_TRUE(gui::Answer(question, IDYES));
    HeldThread worker(stub_.Id(), before, 5000);
    if (!worker.Held()) GTEST_SKIP() << "the worker could not be held";
    const HWND progress = gui::WaitForDialogWith(stub_.Id(), IDC_STUB_PROGRESS_BAR, 5000);
    if (progress == NULL) {
        worker.Release();
        GTEST_SKIP() << "the worker was held where the window thread needs it";
    }
    DWORD_PTR answer = 0;
    ASSERT_NE(0, SendMessageTimeoutA(progress, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000,
                                     &answer));
    EXPECT_EQ(static_cast<DWORD_PTR>(TRUE), answer) << "the stub held up the session";
    ASSERT_TRUE(PostMessageA(progress, WM_ENDSESSION, TRUE, 0));
    EXPECT_FALSE(stub_.Wait(1500)) << "the stub ended under its worker";
    worker.Release();
    EXPECT_EQ(2u, ExitStatus(stub_, 10000));
    EXPECT_FALSE(ReadWholeFile(gui::SampleDisk("sample", 1680)) == ReadWholeFile(gui::FloppyImage()))
        << "the write was not stopped";
}

TEST_F(RestorerStubRunTest, SecondStartBringsTheFirstForwardAndEnds) {
    const HWND window = StartStub(ImagePath(720));
    ASSERT_NE(nullptr, window);
    ASSERT_EQ(0, second_.Start(ImagePath(1440), {}));
    EXPECT_EQ(1u, ExitStatus(second_)) << "the second start wrote nothing";
    EXPECT_FALSE(stub_.Wait(0)) << "the first stub ended";
    EXPECT_EQ(nullptr, gui::FindTopWindow(second_.Id(), nullptr, nullptr));
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(1u, ExitStatus(stub_));
}

// Started from a floppy drive the stub would overwrite its own file: it refuses before
// touching any disk.
TEST_F(RestorerStubRunTest, StartedFromDriveBIsRefused) {
    const char* folder = getenv("VORLIX_DRIVE_B_FOLDER");
    if (folder == nullptr) GTEST_SKIP() << "drive B: is not mapped (run through with-drive-b)";
    ASSERT_TRUE(CopyFileA(ImagePath(720).c_str(), (gui::WindowsPath(folder) + "\\disk.exe").c_str(),
                          FALSE));
    ASSERT_EQ(0, gui::InsertDisk(gui::SampleDisk("blank", 720)));
    ASSERT_EQ(0, stub_.Start("b:\\disk.exe", {}));
    ASSERT_TRUE(gui::Answer(ExpectMessage(IDS_STUB_COPY_TO_HARDDRIVE), IDOK));
    EXPECT_EQ(kExitRejected, ExitStatus(stub_));
    EXPECT_EQ(nullptr, gui::FindTopWindow(stub_.Id(), nullptr, "Create Floppy"));
}

}  // namespace
