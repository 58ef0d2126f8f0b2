#pragma once
#include <stdint.h>

#include <functional>
#include <string>

#include "engine/files/target_files.h"
#include "linux/command_arguments.h"
#include "engine/image/image_input.h"
#include "engine/job/job_outcome.h"
#include "engine/job/job_request.h"
#include "engine/job/read_record.h"
#include "linux/device_calls.h"
#include "linux/progress_line.h"
#include "linux/terminal_job_host.h"
#include "platform/user_message.h"

// Exit statuses: the Windows program's, with its -1 as a process status of 255.
constexpr int kStatusDone = 0;
constexpr int kStatusNotDone = 1;
constexpr int kStatusCancelled = 2;
constexpr int kStatusRefused = 255;

// What the commands need from the process around them.
struct TerminalContext {
    DeviceCalls& calls;
    MessageSink& sink;
    ProgressView& progress;
    std::function<bool()> cancelled;           // Ctrl-C was pressed
    std::function<int64_t()> clock;            // whole seconds
    std::string stubCarrier;                   // the installed file carrying the restorer stub
    std::function<void(const std::string&)> writeOut;  // stdout
    TargetFiles* files = nullptr;  // a read's image and map files; the system's when null
};

// Runs read, write, check, convert, info or drives and returns the process's exit
// status. Every refusal and failure has been shown through the context's sink. A
// command on a drive without a device takes the only floppy drive found.
int RunCommand(const Arguments& arguments, TerminalContext& context);

// Ctrl-C as a long image load asks for it.
class TerminalCancel final : public LoadCancel {
public:
    explicit TerminalCancel(TerminalContext& context) : context_(context) {}
    bool Requested() override { return context_.cancelled(); }

private:
    TerminalContext& context_;
};

// The host of a job in the terminal: the context's messages, progress, files, Ctrl-C and
// clock, and the file that carries the restorer stub.
TerminalJobHost JobHostOf(TerminalContext& context);

// Runs `request` on `device` under the terminal's host; a drive read also fills `record`
// when it is given. The progress line is ended after it.
JobOutcome RunJob(JobRequest request, TerminalContext& context, const std::string& device,
                  ReadRecord* record = nullptr);
