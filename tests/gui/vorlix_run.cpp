#include "tests/gui/vorlix_run.h"

#include <windows.h>

namespace gui {

void VorlixRunTest::SetUp() {
    if (VorlixProgram().empty()) GTEST_SKIP() << "vorlix.exe is not built yet";
    if (FloppyImage().empty()) GTEST_SKIP() << "drive A: is not mapped (run through with-floppy-image)";
    if (GuiDataFolder().empty()) GTEST_SKIP() << "VORLIX_GUI_DIR does not name the sample disks";
    ASSERT_EQ(0, PrepareProfile()) << "cannot prepare the registry profile";
}

void VorlixRunTest::RequireJobs() {
    static int jobsRun = -1;  // unknown until the first test asks
    if (jobsRun < 0) {
        ASSERT_EQ(0, InsertDisk(SampleDisk("sample", 720)));
        std::string probe = Image("job-probe.img");
        Start({"/r", probe, "/f"});
        DWORD status = FinishWithoutMessages();
        jobsRun = status == 0 && FileExists(probe) ? 1 : 0;
        DeleteFileA(probe.c_str());
    }
    if (jobsRun == 0) GTEST_SKIP() << "vorlix.exe does not run its jobs yet";
}

std::string VorlixRunTest::Message(unsigned id, const std::string& argument) {
    char text[1024] = "";
    LoadStringA(GetModuleHandleA(NULL), id, text, sizeof text);
    std::string message = text;
    for (const char* mark : {"%s", "%d"}) {
        size_t at = message.find(mark);
        if (at != std::string::npos) message.replace(at, 2, argument);
    }
    EXPECT_FALSE(message.empty()) << "no string " << id << " in the test's string table";
    return message;
}

void VorlixRunTest::Start(const std::vector<std::string>& arguments) {
    StartProgram(VorlixProgram(), arguments);
}

void VorlixRunTest::StartSlowFloppy(const std::vector<std::string>& arguments) {
    ASSERT_FALSE(SlowFloppyProgram().empty()) << "vorlix_slow_floppy.exe is not built";
    StartProgram(SlowFloppyProgram(), arguments);
}

void VorlixRunTest::StartProgram(const std::string& program,
                                 const std::vector<std::string>& arguments) {
    std::string line;
    for (const std::string& word : arguments) line += " \"" + word + "\"";
    ASSERT_EQ(0, vorlix_.Start(program, arguments)) << "cannot start " << program << line;
    RecordProperty("command_line", line);
}

DWORD VorlixRunTest::FinishWithoutMessages(DWORD ms) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms;) {
        if (vorlix_.Wait(100)) return vorlix_.ExitCode();
        ShownMessage box = WaitForMessageBox(vorlix_.Id(), 0);
        if (box.window != NULL) {
            ADD_FAILURE() << "unexpected message: " << box.text;
            Answer(box, box.buttons.empty() ? IDOK : box.buttons.back());
        }
    }
    ADD_FAILURE() << "vorlix.exe did not end within " << ms << " ms";
    return STILL_ACTIVE;
}

ShownMessage VorlixRunTest::ExpectMessage(unsigned id, const std::string& argument, DWORD ms) {
    ShownMessage box = WaitForMessageBox(vorlix_.Id(), ms);
    EXPECT_NE(nullptr, box.window) << "message " << id << " did not come";
    if (box.window != NULL) {
        EXPECT_EQ("Vorlix", box.caption);
        EXPECT_EQ(Message(id, argument), box.text);
    }
    return box;
}

DWORD VorlixRunTest::ExitStatus(DWORD ms) {
    if (!vorlix_.Wait(ms)) {
        ADD_FAILURE() << "vorlix.exe did not end within " << ms << " ms";
        return STILL_ACTIVE;
    }
    return vorlix_.ExitCode();
}

std::string FloppyBytes() { return ReadWholeFile(FloppyImage()); }

}  // namespace gui
