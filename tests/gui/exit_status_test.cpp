// The exit statuses of vorlix.exe, one run for each: what the run is started with, what
// the test answers on the way, and the status the process ends with.
#include <gtest/gtest.h>

#include "engine/image/image_trailer.h"
#include "resources/string_ids.h"
#include "tests/gui/vorlix_run.h"

namespace gui {
namespace {

constexpr int kOpenBrowse = 1006;  // the main dialog's write browse button

enum class Act {
    Answer,     // a message box with `message` comes; press `button`
    CloseHelp,  // the command-line help comes; press OK
    Cancel,     // the progress dialog comes; press Cancel
};

struct Step {
    Act act;
    unsigned message = 0;
    const char* argument = "";
    int button = IDOK;
};

struct StatusRun {
    const char* name;
    bool slowFloppy;
    const char* disk;  // behind A: first: "sample" or "blank"
    int kilobytes;
    bool instanceRunning;            // another instance has its main dialog open
    std::vector<std::string> words;  // "@" stands for the test's folder
    std::vector<Step> steps;
    DWORD status;
    bool needsJobs;
};

class ExitStatusRun : public VorlixRunTest, public ::testing::WithParamInterface<StatusRun> {
protected:
    std::string InFolder(std::string text) const {
        size_t at = text.find('@');
        return at == std::string::npos ? text : text.replace(at, 1, folder_.path());
    }

    void Perform(const Step& step) {
        switch (step.act) {
        case Act::Answer:
            ASSERT_TRUE(Answer(ExpectMessage(step.message, step.argument, kJobMs), step.button));
            return;
        case Act::CloseHelp: {
            HWND help = WaitForTopWindow(vorlix_.Id(), "#32770", "Commandline Help");
            ASSERT_NE(nullptr, help) << "no help dialog";
            ASSERT_TRUE(PressButton(help, IDOK));
            return;
        }
        case Act::Cancel: {
            HWND progress = WaitForDialogWith(vorlix_.Id(), 1003);
            ASSERT_NE(nullptr, progress) << "no progress dialog";
            ASSERT_TRUE(PressButton(progress, IDCANCEL));
            return;
        }
        }
    }
};

TEST_P(ExitStatusRun, EndsWithItsStatus) {
    const StatusRun& run = GetParam();
    if (run.needsJobs) {
        RequireJobs();
        if (IsSkipped()) return;
    }
    // An image of the 1440 kB sample that knows its format, to write.
    std::string sample = Image("sample.img");
    ASSERT_TRUE(CopyFileA(SampleDisk("sample", 1440).c_str(), sample.c_str(), FALSE));
    ASSERT_EQ(0, AppendImageTrailer(sample.c_str(), "Sample", 18));
    ASSERT_EQ(0, InsertDisk(SampleDisk(run.disk, run.kilobytes)));

    DrivenProcess first;
    if (run.instanceRunning) {
        ASSERT_EQ(0, first.Start(VorlixProgram(), {}));
        ASSERT_NE(nullptr, WaitForDialogWith(first.Id(), kOpenBrowse)) << "no first instance";
    }
    std::vector<std::string> words;
    for (const std::string& word : run.words) words.push_back(InFolder(word));
    if (run.slowFloppy) {
        // Long enough for the progress dialog to be found: an emergency read of a good disk
        // takes whole units now, not one sector at a time.
        SetEnvironmentVariableA("VORLIX_SLOW_FLOPPY_UNIT_MS", "40");
        StartSlowFloppy(words);
        SetEnvironmentVariableA("VORLIX_SLOW_FLOPPY_UNIT_MS", NULL);
    } else {
        Start(words);
    }
    for (const Step& step : run.steps) {
        Perform(step);
        if (HasFatalFailure()) return;
    }
    EXPECT_EQ(run.status, FinishWithoutMessages());
    if (run.instanceRunning) {
        EXPECT_TRUE(first.Running()) << "the running instance ended";
        HWND main = WaitForDialogWith(first.Id(), kOpenBrowse);
        if (main != NULL) PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_TRUE(first.Wait());
    }
}

const StatusRun kStatusRuns[] = {
    {"Finished", false, "sample", 1440, false, {"/r", "@\\new.imz", "/f"}, {}, 0, true},
    {"HelpShown", false, "sample", 1440, false, {"/x"}, {{Act::CloseHelp}}, kExitRejected, false},
    {"ExtensionRefused", false, "sample", 1440, false, {"/r", "@\\new.txt"},
     {{Act::Answer, IDS_ONLY_IMG_IMZ_EXE_CREATABLE}}, kExitRejected, false},
    {"StartCheckStops", false, "sample", 1440, false, {"/r", "a:\\new.img", "/f"},
     {{Act::Answer, IDS_CANNOT_SAVE_TO_SOURCE_FLOPPY}}, 1, false},
    {"QuestionAnsweredNo", false, "blank", 1440, false, {"/w", "@\\sample.img"},
     {{Act::Answer, IDS_ASK_OVERWRITE_FLOPPY, "", IDNO}}, 1, false},
    {"DiskDoesNotMatchTheImage", false, "blank", 720, false, {"/w", "@\\sample.img", "/f"},
     {{Act::Answer, IDS_DISK_NEEDS_OTHER_DENSITY, "high density (HD)"}}, 1, true},
    {"Cancelled", true, "sample", 1680, false, {"/e", "/r", "@\\cancelled.img", "/f"},
     {{Act::Cancel}, {Act::Answer, IDS_OPERATION_CANCELLED}}, 2, true},
    {"HandedOver", false, "sample", 1440, true, {"@\\sample.img"}, {}, 3, false},
    {"CommandLineHandedOver", false, "sample", 1440, true, {"/r", "@\\new.imz", "/f"}, {}, 3, false},
};

INSTANTIATE_TEST_SUITE_P(EveryEnd, ExitStatusRun, ::testing::ValuesIn(kStatusRuns),
                         [](const ::testing::TestParamInfo<StatusRun>& run) {
                             return std::string(run.param.name);
                         });

}  // namespace
}  // namespace gui
