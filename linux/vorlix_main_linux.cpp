// The terminal program: vorlix read/write/check/convert/info/drives (linux/command_arguments.h).
#include <string.h>
#include <time.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "app/version.h"
#include "linux/command_arguments.h"
#include "linux/interrupt_linux.h"
#include "linux/lost_image_bytes_linux.h"
#include "linux/standard_streams_linux.h"
#include "linux/system_device_calls_linux.h"
#include "linux/terminal_commands.h"
#include "linux/terminal_linux.h"
#include "linux/terminal_messages.h"
#include "linux/terminal_sink.h"
#include "linux/unfinished_files_linux.h"

namespace {

int64_t Seconds() {
    struct timespec now = {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec;
}

// What a command prints on stdout is its result: when that could not all be written,
// the command has not done its work.
int WithOutput(int status, const OutputStream& out, OutputStream& err) {
    if (!out.Failed() || status != kStatusDone) return status;
    err.Write("vorlix: " +
              FormatUserMessage(UserMessage{kMsgOutputLost, MessageStyle::Error, strerror(out.Error())}) + "\n");
    return kStatusNotDone;
}

int RunWithTerminal(const Arguments& arguments, OutputStream& out, OutputStream& err) {
    const ProgressMode mode = arguments.quiet     ? ProgressMode::Quiet
                              : ErrorIsTerminal() ? ProgressMode::Line
                                                  : ProgressMode::Plain;
    ProgressView progress(mode, [&err](const std::string& text) { err.Write(text); }, ErrorTerminalWidth());
    InterruptToCancel interrupt;
    const LostImageBytesEnd lostBytes(
        "vorlix: " + FormatUserMessage(UserMessage{kMsgImageBytesLost, MessageStyle::Error}) + "\n");
    TerminalSink sink(
        progress, [&err](const std::string& text) { err.Write(text); },
        [&interrupt](const std::string& question) {
            return AskOnTerminal(question, [&interrupt] { return interrupt.Requested(); });
        },
        arguments.yes);
    SystemDeviceCalls calls;
    UnfinishedFiles unfinished;
    TerminalContext context{calls,
                            sink,
                            progress,
                            [&interrupt] { return interrupt.Requested(); },
                            Seconds,
                            RestorerStubCarrier(),
                            [&out](const std::string& text) { out.Write(text); },
                            &unfinished};
    return RunCommand(arguments, context);
}

}  // namespace

int main(int argc, char** argv) {
    if (PrepareStandardStreams() != 0) return kStatusRefused;
    OutputStream out(STDOUT_FILENO);
    OutputStream err(STDERR_FILENO);
    const std::vector<std::string> words(argv + 1, argv + argc);
    Arguments arguments;
    std::string error;
    if (ParseArguments(words, &arguments, &error) != 0) {
        err.Write("vorlix: " + error + "\nTry 'vorlix --help' for more information.\n");
        return kStatusRefused;
    }
    // Help asked for is a result; help instead of a command is a refusal.
    if (arguments.command == Command::Help && words.empty()) {
        err.Write(UsageText());
        return kStatusRefused;
    }
    if (arguments.command == Command::Help) {
        out.Write(UsageText());
        return WithOutput(kStatusDone, out, err);
    }
    if (arguments.command == Command::Version) {
        out.Write(std::string("vorlix ") + kProgramVersion + "\n");
        return WithOutput(kStatusDone, out, err);
    }
    return WithOutput(RunWithTerminal(arguments, out, err), out, err);
}
