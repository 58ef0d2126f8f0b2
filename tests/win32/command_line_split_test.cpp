#include <windows.h>

#include <stdlib.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/command_line_split.h"
#include "tests/support/temp_dir.h"

// Our split is checked against the C runtime the program really runs on: this test
// program starts itself with a command line, and the child writes down the runtime's
// argv. The child runs only the echo test, chosen through the environment so that the
// command line holds nothing but the words under test.

namespace {

const char kEchoFile[] = "VORLIX_ARGV_ECHO";
const DWORD kChildTimeLimitMs = 60000;

// One environment block: ours, plus the two variables for the child.
std::vector<char> ChildEnvironment(const std::string& echoFile) {
    std::vector<char> block;
    const auto add = [&block](const std::string& entry) {
        block.insert(block.end(), entry.begin(), entry.end());
        block.push_back('\0');
    };
    char* own = GetEnvironmentStringsA();
    for (const char* entry = own; entry != nullptr && *entry != '\0'; entry += strlen(entry) + 1) {
        if (_strnicmp(entry, "GTEST_FILTER=", 13) != 0 && _strnicmp(entry, kEchoFile, sizeof(kEchoFile) - 1) != 0) {
            add(entry);
        }
    }
    if (own != nullptr) {
        FreeEnvironmentStringsA(own);
    }
    add("GTEST_FILTER=RuntimeArgv.EchoWhenAsked");
    add(std::string(kEchoFile) + "=" + echoFile);
    block.push_back('\0');
    return block;
}

// Starts this program with `commandLine` and returns the words its runtime made of it.
std::vector<std::string> RuntimeWords(const std::string& commandLine) {
    char self[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, self, sizeof(self));
    EXPECT_TRUE(length > 0 && length < sizeof(self));

    TempDir dir;
    const std::string echoFile = dir.File("argv");
    std::vector<char> environment = ChildEnvironment(echoFile);
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');

    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
    HANDLE nul = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inheritable, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = nul;
    startup.hStdError = nul;
    PROCESS_INFORMATION child = {};
    const BOOL started = CreateProcessA(self, line.data(), nullptr, nullptr, TRUE, 0, environment.data(),
                                        nullptr, &startup, &child);
    CloseHandle(nul);
    EXPECT_TRUE(started) << "error " << GetLastError();
    if (!started) {
        return {};
    }
    if (WaitForSingleObject(child.hProcess, kChildTimeLimitMs) != WAIT_OBJECT_0) {
        TerminateProcess(child.hProcess, 1);
        WaitForSingleObject(child.hProcess, 5000);
        ADD_FAILURE() << "the child did not end in time";
    }
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);

    std::vector<std::string> words;
    const std::string bytes = ReadWholeFile(echoFile);
    for (size_t start = 0; start < bytes.size();) {
        const size_t end = bytes.find('\0', start);
        words.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

// The arguments under test, several tricky words to a line.
const char* const kArguments[] = {
    "/w \"C:\\My Disks\\boot disk.imz\"\t\t/d  \"\" ",
    "a\"b c\"d \"C:\\dir\\\\\" a\\\"b a\\\\\\\"b a\\\\\\\\\"b c\" C:\\dir\\a.img",
    "\"a\"\"b\" \"a\"\" b\" \"\"\"\"",
    "\"C:\\dir\\\" next",
    "/r \"unclosed b",
};

}  // namespace

TEST(RuntimeArgv, EchoWhenAsked) {
    char echoFile[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA(kEchoFile, echoFile, sizeof(echoFile));
    if (length == 0 || length >= sizeof(echoFile)) {
        GTEST_SKIP() << "runs only as the child of the split test";
    }
    std::string bytes;
    for (int i = 0; i < __argc; ++i) {
        bytes += __argv[i];
        bytes += '\0';
    }
    WriteWholeFile(echoFile, bytes);
}

TEST(SplitAgainstTheRuntime, SameWords) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof(self));
    for (const char* arguments : kArguments) {
        for (const std::string& program : {std::string("\"") + self + "\"", std::string(self)}) {
            const std::string commandLine = program + " " + arguments;
            SCOPED_TRACE(commandLine);
            EXPECT_EQ(SplitCommandLine(commandLine.c_str()), RuntimeWords(commandLine));
        }
    }
}
