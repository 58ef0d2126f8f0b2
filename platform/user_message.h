#pragma once
// The portable code never shows a window: it hands a message, by string-table ID and
// with at most one text and one number, or up to four numbers, to whoever hosts it. The main program backs this with
// LoadString and MessageBox, the restorer stub with its own string numbers, and the
// tests with a recorder.

enum class MessageStyle {
    Error,        // stop icon, OK
    Warning,      // exclamation icon, OK
    Information,  // information icon, OK
    Question,     // question icon, Yes and No
    OkCancel,     // question icon, OK (answered Yes) and Cancel (No): go on or stop
};

// A style whose box waits for the user's choice.
inline bool AsksForAnswer(MessageStyle style) {
    return style == MessageStyle::Question || style == MessageStyle::OkCancel;
}

enum class MessageAnswer { Ok, Yes, No };

struct UserMessage {
    unsigned id;
    MessageStyle style;
    const char* text = nullptr;  // takes the place of %s
    long number = 0;             // takes the place of %d (or the first %u)
    long secondNumber = 0;       // the second %u of a text that holds several numbers
    long thirdNumber = 0;        // the third and fourth, for a text without %s
    long fourthNumber = 0;
};

class MessageSink {
public:
    virtual MessageAnswer Show(const UserMessage& message) = 0;

protected:
    ~MessageSink() = default;
};
