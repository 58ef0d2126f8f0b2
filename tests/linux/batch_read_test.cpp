// A batch over a simulated device, its answers given by the test: Ctrl-C inside a disk's
// read leaves that disk as a cancelled read leaves it and the earlier ones whole; an
// emergency batch lists a disk's map in its manifest.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "linux/batch_read.h"
#include "tests/linux/simulated_device_calls.h"
#include "tests/support/recording_sink.h"
#include "tests/support/temp_dir.h"

namespace {

constexpr char kDevice[] = "/dev/sdx";

class BatchReadTest : public ::testing::Test {
protected:
    int Run(const std::string& pattern, bool emergency) {
        Arguments arguments;
        arguments.command = Command::Read;
        arguments.batch = true;
        arguments.device = kDevice;
        arguments.emergency = emergency;
        arguments.operands = {dir.File(pattern)};
        arguments.commandLine = "vorlix read --batch " + pattern;
        TerminalContext context{calls,
                                sink,
                                progress,
                                [this] { return armed && checksLeft-- <= 0; },
                                [] { return int64_t{100}; },
                                dir.File("no-stub.exe"),
                                [this](const std::string& text) { out += text; }};
        BatchTerminal terminal;
        terminal.ask = [this](const std::string& prompt, std::string* answer) {
            prompts.push_back(prompt);
            if (prompts.size() > answers.size()) return -1;
            if (prompts.size() == armAtPrompt) armed = true;
            *answer = answers[prompts.size() - 1];
            return 0;
        };
        terminal.utcSeconds = [] { return int64_t{1796880717}; };
        terminal.invokedFrom = dir.path();
        terminal.fullPath = [](const std::string& path) { return path; };
        return RunBatchRead(arguments, context, terminal);
    }

    TempDir dir;
    SimulatedDeviceCalls calls{kDevice};
    RecordingSink sink;
    std::string shown;
    ProgressView progress{ProgressMode::Quiet, [this](const std::string& text) { shown += text; }};
    std::vector<std::string> answers;
    std::vector<std::string> prompts;
    size_t armAtPrompt = 0;  // Ctrl-C comes this many checks after this prompt's answer
    bool armed = false;
    int checksLeft = 0;
    std::string out;
};

TEST_F(BatchReadTest, CtrlCDuringADiskKeepsTheDisksBeforeIt) {
    answers = {"", ""};
    armAtPrompt = 2;
    checksLeft = 30;
    EXPECT_EQ(Run("box-##.imz", false), 2);
    EXPECT_EQ(FileNamesIn(dir.path()),
              (std::vector<std::string>{"box-01.imz", "box-01.imz.log", "manifest.txt"}));
    const std::string manifest = ReadWholeFile(dir.File("manifest.txt"));
    EXPECT_THAT(manifest, ::testing::HasSubstr(",box-01.imz\n"));
    EXPECT_THAT(manifest, ::testing::HasSubstr(",box-01.imz.log\n"));
    EXPECT_THAT(out, ::testing::EndsWith("1 images made, 0 with bad sectors, 0 failed, 0 skipped\n"));
    EXPECT_EQ(calls.openDescriptors, 0);
}

TEST_F(BatchReadTest, EmergencyBatchListsTheMapAndCountsTheDisk) {
    calls.badReadSectors[100] = EIO;
    answers = {"", "q"};
    EXPECT_EQ(Run("box-#.img", true), 0);
    EXPECT_EQ(FileNamesIn(dir.path()), (std::vector<std::string>{"box-1.img", "box-1.img.log", "box-1.img.map",
                                                                 "manifest.txt"}));
    EXPECT_THAT(ReadWholeFile(dir.File("manifest.txt")), ::testing::HasSubstr(",box-1.img.map\n"));
    EXPECT_THAT(ReadWholeFile(dir.File("box-1.img.log")),
                ::testing::HasSubstr("Bad sectors: 1 (0x0000C800+0x00000200)\nRecovered: 2879 of 2880 sectors\n"
                                     "Retries: 3\n"));
    EXPECT_THAT(out, ::testing::EndsWith("1 images made, 1 with bad sectors, 0 failed, 0 skipped\n"));
}

}  // namespace
