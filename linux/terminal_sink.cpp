#include "linux/terminal_sink.h"

#include "linux/terminal_messages.h"

MessageAnswer TerminalSink::Show(const UserMessage& message) {
    progress_.Break();
    const std::string text = FormatUserMessage(message);
    if (!AsksForAnswer(message.style)) {
        writeError_("vorlix: " + text + "\n");
        return MessageAnswer::Ok;
    }
    if (assumeYes_) return MessageAnswer::Yes;
    const int answer = ask_("vorlix: " + text + " [y/N] ");
    if (answer < 0) {
        writeError_("vorlix: " + text + "\n" + "vorlix: " +
                    FormatUserMessage(UserMessage{kMsgNoTerminalToAsk, MessageStyle::Error}) + "\n");
        return MessageAnswer::No;
    }
    return answer > 0 ? MessageAnswer::Yes : MessageAnswer::No;
}
