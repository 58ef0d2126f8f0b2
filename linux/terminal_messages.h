#pragma once
#include <string>

#include "platform/user_message.h"

// Messages only the terminal program shows: devices, installation, options. Their IDs
// lie above every ID of resources/strings.rc, so one table lookup serves both.
constexpr unsigned kMsgText = 60000;              // "%s": a text composed by the caller
constexpr unsigned kMsgNotFloppySize = 60001;     // %s device, %u bytes
constexpr unsigned kMsgNotFloppyKind = 60002;     // %s device
constexpr unsigned kMsgMounted = 60003;           // %s: "DEVICE is mounted on POINT"
constexpr unsigned kMsgStubMissing = 60004;       // %s stub path
constexpr unsigned kMsgPathTooLong = 60005;       // %s path
constexpr unsigned kMsgNoTerminalToAsk = 60007;   // no text
constexpr unsigned kMsgSameFile = 60008;          // %s path

// The text of `id`: the program's string table first, then the terminal program's own;
// nullptr when neither has it.
const char* MessageTemplate(unsigned id);

// `pattern` with %s replaced by the message's text and each %d or %u, in order, by its
// number, second, third and fourth number; %% is a percent sign. Anything else after a
// percent sign is kept as it stands.
std::string FillMessageTemplate(const char* pattern, const UserMessage& message);

// The message as the user reads it; an ID without a text names its number.
std::string FormatUserMessage(const UserMessage& message);

constexpr unsigned kMsgNotImageName = 60009;      // %s path
constexpr unsigned kMsgOutputLost = 60010;        // %s the system's reason
constexpr unsigned kMsgImageBytesLost = 60011;    // no text
