#include "platform/message_box_sink_win32.h"

#include "platform/application_title_win32.h"

namespace {

// Longest decimal form of a 32-bit number: "-2147483648".
constexpr int kNumberWidth = 11;

HINSTANCE ModuleOrProgram(HINSTANCE module) {
    return module ? module : GetModuleHandleA(NULL);
}

// Copies at most `limit` bytes of `text` and a terminating zero, never splitting a
// double-byte character.
void CopyCut(const char* text, int limit, char* out) {
    int length = 0;
    while (text[length] != '\0') {
        const int step = IsDBCSLeadByte(static_cast<BYTE>(text[length])) && text[length + 1] ? 2 : 1;
        if (length + step > limit) break;
        length += step;
    }
    CopyMemory(out, text, length);
    out[length] = '\0';
}

// What wsprintfA will find in a template: which conversions, in which order, and how
// many characters the template adds around them. Usable are %%, one %s and one number
// (%d or %u), or up to four numbers without a text; anything else would make wsprintfA
// read arguments that are not there.
struct Conversions {
    bool usable = true;
    bool textFirst = true;
    int texts = 0;
    int numbers = 0;
    int fixedLength = 0;
};

Conversions ScanTemplate(const char* pattern) {
    Conversions found;
    for (const char* p = pattern; *p != '\0'; ++p) {
        if (*p != '%') {
            ++found.fixedLength;
            continue;
        }
        const char kind = *++p;
        if (kind == '%') {
            ++found.fixedLength;
        } else if (kind == 's') {
            if (found.numbers == 0) found.textFirst = true;
            ++found.texts;
        } else if (kind == 'd' || kind == 'u') {
            if (found.texts == 0) found.textFirst = false;
            ++found.numbers;
        } else {
            found.usable = false;
            break;
        }
    }
    if (found.texts > 1 || found.numbers > 4 || (found.texts && found.numbers > 1)) {
        found.usable = false;
    }
    return found;
}

int FillTemplate(const char* pattern, const UserMessage& message, char* out) {
    const Conversions found = ScanTemplate(pattern);
    if (!found.usable) {
        CopyCut(pattern, kMessageTextSize - 1, out);
        return lstrlenA(out);
    }
    int room = kMessageTextSize - 1 - found.fixedLength - found.numbers * kNumberWidth;
    if (room < 0) room = 0;
    char argument[kMessageTextSize];
    CopyCut(message.text ? message.text : "", room, argument);
    const int number = static_cast<int>(message.number);
    if (found.texts && found.numbers) {
        return found.textFirst ? wsprintfA(out, pattern, argument, number)
                               : wsprintfA(out, pattern, number, argument);
    }
    if (found.texts) return wsprintfA(out, pattern, argument);
    // Numbers the template does not ask for are passed and never read.
    return wsprintfA(out, pattern, number, static_cast<int>(message.secondNumber),
                     static_cast<int>(message.thirdNumber), static_cast<int>(message.fourthNumber));
}

}  // namespace

int FormatUserMessage(HINSTANCE module, const UserMessage& message, char* out, int outSize) {
    if (out == NULL || outSize <= 0) return 0;
    char pattern[kMessageTextSize];
    char text[kMessageTextSize];
    if (LoadStringA(ModuleOrProgram(module), message.id, pattern, sizeof pattern) > 0) {
        FillTemplate(pattern, message, text);
    } else {
        wsprintfA(text, "Message %u", message.id);
    }
    CopyCut(text, outSize - 1, out);
    return lstrlenA(out);
}

MessageAnswer MessageBoxSink::Show(const UserMessage& message) {
    char text[kMessageTextSize];
    FormatUserMessage(module_, message, text, sizeof text);
    const ApplicationTitle caption(module_);

    UINT type = MB_OK | MB_ICONSTOP;
    switch (message.style) {
        case MessageStyle::Error: type = MB_OK | MB_ICONSTOP; break;
        case MessageStyle::Warning: type = MB_OK | MB_ICONEXCLAMATION; break;
        case MessageStyle::Information: type = MB_OK | MB_ICONINFORMATION; break;
        case MessageStyle::Question: type = MB_YESNO | MB_ICONQUESTION; break;
        case MessageStyle::OkCancel: type = MB_OKCANCEL | MB_ICONQUESTION; break;
    }
    // The owner may have closed while a worker was busy; a box for a window that is gone
    // would not appear at all.
    const HWND owner = owner_ != NULL && IsWindow(owner_) ? owner_ : NULL;
    const int answer = MessageBoxA(owner, text, caption.Text(), type);

    if (!AsksForAnswer(message.style)) return MessageAnswer::Ok;
    // A box that could not be shown is no consent.
    return answer == IDYES || answer == IDOK ? MessageAnswer::Yes : MessageAnswer::No;
}
