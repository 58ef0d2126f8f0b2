#include "stub/stub_message_sink_win32.h"

#include "platform/message_box_sink_win32.h"
#include "stub/stub_messages.h"

MessageAnswer StubMessageSink::Show(const UserMessage& message) {
    const unsigned id = StubMessageId(message, driveText_);
    if (id == 0) {
        // A text the stub does not carry; a question nobody saw is no consent.
        return AsksForAnswer(message.style) ? MessageAnswer::No : MessageAnswer::Ok;
    }
    UserMessage own = message;
    own.id = id;
    return MessageBoxSink(owner_).Show(own);
}

MessageAnswer StubMessageSink::ShowOwn(unsigned stubId, MessageStyle style, const char* text,
                                       long number) {
    // The stub's string table shares the main program's title ID, so the caption is
    // the stub's own title.
    MessageBoxSink boxes(owner_);
    return boxes.Show(UserMessage{stubId, style, text, number});
}
