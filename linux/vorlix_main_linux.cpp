// The terminal program: vorlix read/write/check/convert/info (linux/command_arguments.h).
#include <stdio.h>
#include <time.h>

#include <string>
#include <vector>

#include "app/version.h"
#include "linux/command_arguments.h"
#include "linux/interrupt_linux.h"
#include "linux/system_device_calls_linux.h"
#include "linux/terminal_commands.h"
#include "linux/terminal_linux.h"
#include "linux/terminal_sink.h"

namespace {

void WriteTo(FILE* stream, const std::string& text) {
    fputs(text.c_str(), stream);
    fflush(stream);
}

int64_t Seconds() {
    struct timespec now = {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> words(argv + 1, argv + argc);
    Arguments arguments;
    std::string error;
    if (ParseArguments(words, &arguments, &error) != 0) {
        WriteTo(stderr, "vorlix: " + error + "\nTry 'vorlix --help' for more information.\n");
        return kStatusRefused;
    }
    if (arguments.command == Command::Help) {
        WriteTo(words.empty() ? stderr : stdout, UsageText());
        return kStatusRefused;
    }
    if (arguments.command == Command::Version) {
        WriteTo(stdout, std::string("vorlix ") + kProgramVersion + "\n");
        return kStatusDone;
    }
    const ProgressMode mode = arguments.quiet     ? ProgressMode::Quiet
                              : ErrorIsTerminal() ? ProgressMode::Line
                                                  : ProgressMode::Plain;
    ProgressView progress(mode, [](const std::string& text) { WriteTo(stderr, text); },
                          ErrorTerminalWidth());
    InterruptToCancel interrupt;
    TerminalSink sink(
        progress, [](const std::string& text) { WriteTo(stderr, text); },
        [&interrupt](const std::string& question) {
            return AskOnTerminal(question, [&interrupt] { return interrupt.Requested(); });
        },
        arguments.yes);
    SystemDeviceCalls calls;
    TerminalContext context{calls,
                            sink,
                            progress,
                            [&interrupt] { return interrupt.Requested(); },
                            Seconds,
                            RestorerStubCarrier(),
                            [](const std::string& text) { WriteTo(stdout, text); }};
    return RunCommand(arguments, context);
}
