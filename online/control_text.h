#pragma once
#include <string>

// A text for a control of an online dialog: the string-table entry `id` with `text` in
// place of its %s, or, when `id` is 0, `text` itself (texts that come from the server).
struct ControlText {
    unsigned id = 0;
    std::string text;
};

inline bool operator==(const ControlText& a, const ControlText& b) {
    return a.id == b.id && a.text == b.text;
}
