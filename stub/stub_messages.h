#pragma once
#include "platform/user_message.h"

// The shared jobs name their messages by the main program's string IDs; the restorer
// stub carries a smaller string table with numbers of its own. This is the one place
// where the two meet.

// The stub's string number for `message`, or 0 when the stub has no such text.
// "Unable to open" names either the drive (`driveText`) or the image file, which the
// stub reports with the longer text that points at anti-virus software.
unsigned StubMessageId(const UserMessage& message, const char* driveText);
