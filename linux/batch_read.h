#pragma once
#include <stdint.h>

#include <functional>
#include <string>

#include "engine/job/job_outcome.h"
#include "engine/job/job_request.h"
#include "engine/job/read_record.h"
#include "linux/command_arguments.h"
#include "linux/terminal_commands.h"

// What a batch needs beyond a single command: the questions between disks and the
// facts its logs and manifest record.
struct BatchTerminal {
    // Shows `prompt` and reads one line of the answer, from a terminal or a pipe: 0, or
    // -1 when the input has ended or Ctrl-C came while it waited.
    std::function<int(const std::string& prompt, std::string* answer)> ask;
    std::function<int64_t()> utcSeconds;  // wall clock, seconds since 1970 UTC
    // The folder the program runs in, and a path made absolute with its links resolved
    // (the path as given when it cannot be).
    std::string invokedFrom;
    std::function<std::string(const std::string&)> fullPath;
};

// `vorlix read --batch`: disk after disk into the names of the pattern, each with its
// log and its manifest rows, until the answers end or ask to stop. 0 when every disk
// offered was read; 1 when one failed or was skipped; 2 for Ctrl-C.
int RunBatchRead(const Arguments& arguments, TerminalContext& context, const BatchTerminal& terminal);

// A single read of `request` with its log beside the image (`--log`): the job's outcome,
// or a failure when the log could not be written (said so).
JobOutcome RunLoggedRead(const JobRequest& request, const Arguments& arguments, TerminalContext& context,
                         const BatchTerminal& terminal);
