#pragma once
#include <windows.h>

#include "platform/user_message.h"

// The restorer stub's message boxes, captioned "Rewinder". The shared jobs hand over
// the main program's message IDs; Show turns them into the stub's own numbers
// (stub_messages.h) and shows those texts. The stub's own code names its texts directly
// with ShowOwn. Keeps no state that changes, so a worker thread may use its own copy.
class StubMessageSink final : public MessageSink {
public:
    // `driveText` is the drive the stub writes to, which tells the two "Unable to open"
    // messages apart.
    StubMessageSink(HWND owner, const char* driveText) : owner_(owner), driveText_(driveText) {}

    MessageAnswer Show(const UserMessage& message) override;
    MessageAnswer ShowOwn(unsigned stubId, MessageStyle style, const char* text = nullptr,
                          long number = 0);

private:
    HWND owner_;
    const char* driveText_;
};
