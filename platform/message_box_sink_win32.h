#pragma once
#include <windows.h>

#include "platform/user_message.h"

// The program's messages as message boxes: the text is the string-table entry with the
// message's ID, its %s and %d filled in; the caption is the application title. Safe to
// use from a job's worker thread, which shows its own boxes: it keeps no state between
// calls and allocates nothing, so the restorer stub can use it too.

// wsprintfA writes at most 1024 bytes, its terminating zero included.
constexpr int kMessageTextSize = 1024;

// Puts the final text of `message` into `out` (at most outSize - 1 characters and a
// terminating zero). An entry that is missing still yields a text naming its ID. Returns
// the length of the text.
int FormatUserMessage(HINSTANCE module, const UserMessage& message, char* out, int outSize);

class MessageBoxSink final : public MessageSink {
public:
    // Boxes are owned by `owner` when it is still a window when they are shown. Texts
    // come from `module`'s string table, or the program's own when it is NULL.
    explicit MessageBoxSink(HWND owner = NULL, HINSTANCE module = NULL)
        : owner_(owner), module_(module) {}

    MessageAnswer Show(const UserMessage& message) override;

private:
    HWND owner_;
    HINSTANCE module_;
};
