#pragma once
// The base of every end-to-end test of vorlix.exe: one started program, a private folder
// for its images, a clean profile, and the program's own message texts to compare with.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/gui/gui_environment.h"
#include "tests/gui/vorlix_driver.h"
#include "tests/support/temp_dir.h"

namespace gui {

constexpr DWORD kExitRejected = 0xFFFFFFFFu;  // exit status -1
constexpr DWORD kJobMs = 120000;               // one whole disk, slow machines included

class VorlixRunTest : public ::testing::Test {
protected:
    // Skips, saying why, while the program or drive A: is missing.
    void SetUp() override;

    // The string-table text `id` with its one argument in place of %s or %d.
    static std::string Message(unsigned id, const std::string& argument = std::string());

    // Skips while vorlix.exe runs no jobs yet (the caller then returns: a skip inside a
    // helper does not end the test): a forced read of the sample disk that ends with
    // status 0, no message and no image means the job was never started.
    void RequireJobs();

    // Starts vorlix.exe with `arguments`; fails the test when it cannot.
    void Start(const std::vector<std::string>& arguments);
    // The same with the build whose floppy pauses before each unit, for a job that is to
    // be watched or cancelled.
    void StartSlowFloppy(const std::vector<std::string>& arguments);
    // Waits for the end of an unattended run during which no message may come; returns the
    // exit status. A message box that comes anyway fails the test with its text.
    DWORD FinishWithoutMessages(DWORD ms = kJobMs);
    // The next message box; fails the test when none comes in time.
    ShownMessage ExpectMessage(unsigned id, const std::string& argument = std::string(),
                               DWORD ms = kDefaultWaitMs);
    // Waits for the end and returns the exit status (STILL_ACTIVE on timeout).
    DWORD ExitStatus(DWORD ms = kDefaultWaitMs);

    std::string Image(const std::string& name) const { return folder_.File(name); }

    DrivenProcess vorlix_;
    TempDir folder_;

private:
    void StartProgram(const std::string& program, const std::vector<std::string>& arguments);
};

std::string FloppyBytes();

// The slow floppy's pause per unit while one test runs.
class UnitPause {
public:
    explicit UnitPause(const char* ms) { SetEnvironmentVariableA(kName, ms); }
    ~UnitPause() { SetEnvironmentVariableA(kName, NULL); }
    UnitPause(const UnitPause&) = delete;
    UnitPause& operator=(const UnitPause&) = delete;

private:
    static constexpr const char* kName = "VORLIX_SLOW_FLOPPY_UNIT_MS";
};

}  // namespace gui
