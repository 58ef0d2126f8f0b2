#pragma once

// One entry of the program's string table, as the Windows program loads it.
struct ProgramString {
    unsigned id;
    const char* text;
};

// Generated at build time from resources/strings.rc (make_string_table.py), so that the
// terminal program shows the same text for the same ID; ascending IDs.
extern const ProgramString kProgramStrings[];
extern const unsigned kProgramStringCount;
