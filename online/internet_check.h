#pragma once
#include "platform/user_message.h"

// What the program may ask before it uses WinINet: whether the library is there with
// everything the program calls, and whether the system reports a connection.
class InternetPresence {
public:
    // Binds the library at first use; false when it or one of its functions is missing.
    virtual bool Bind() = 0;
    // Asked only after Bind succeeded.
    virtual bool Connected() = 0;

protected:
    ~InternetPresence() = default;
};

// The test each online dialog makes as it opens. Returns 0 to go on, or -1 after telling
// the user why not (an information message); the dialog then ends with 0 and never
// appears. Nothing of WinINet is used before this test has passed.
int InternetCheck(InternetPresence& internet, MessageSink& sink);
