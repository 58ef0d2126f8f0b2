#pragma once

// The string table as the portable code reads it, for a message it puts together from
// several of its texts (the image check's report): the program's resources under
// Windows, the resource script's own lines in the tests.
class MessageTexts {
public:
    // The text of string `id`; "" when there is none. Valid until the next call.
    virtual const char* Text(unsigned id) = 0;

protected:
    ~MessageTexts() = default;
};
