#pragma once
#include <functional>
#include <string>

#include "linux/progress_line.h"
#include "platform/user_message.h"

// How a question reaches the user: 1 yes, 0 no, -1 when there is nobody to ask (no
// terminal).
using AskUser = std::function<int(const std::string& question)>;

// The terminal program's messages: each on stderr as "vorlix: TEXT", after ending any
// open progress line. A question is answered yes by -y, else asked on the terminal; with
// no terminal it is answered no, saying how to answer it.
class TerminalSink final : public MessageSink {
public:
    TerminalSink(ProgressView& progress, std::function<void(const std::string&)> writeError, AskUser ask,
                 bool assumeYes)
        : progress_(progress), writeError_(std::move(writeError)), ask_(std::move(ask)), assumeYes_(assumeYes) {}

    MessageAnswer Show(const UserMessage& message) override;

private:
    ProgressView& progress_;
    std::function<void(const std::string&)> writeError_;
    AskUser ask_;
    bool assumeYes_;
};
