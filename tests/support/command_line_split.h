#pragma once
#include <string>
#include <vector>

// The program takes its words from the C runtime (CommandLineWords); the tests build
// them from whole command lines with this split, which the Windows tests hold against
// the runtime's own.
//
// Splits a command line the way the Microsoft C runtime does for argv:
// - Words are separated by spaces and tabs; a quoted stretch belongs to one word and its
//   quotes are removed; "" on its own is an empty word.
// - Word 0, the program path, knows only quotes: its backslashes are plain characters.
// - In the other words, 2N backslashes before a quote give N backslashes and the quote
//   opens or closes a stretch; 2N+1 backslashes before a quote give N backslashes and a
//   literal quote; backslashes before anything else stay as they are.
// - Inside a quoted stretch, a doubled quote gives one literal quote and the stretch goes
//   on, as in the runtimes since Visual C++ 2008 (older ones ended the stretch there).
// The text is taken as single-byte: no lead-byte handling for double-byte code pages.
std::vector<std::string> SplitCommandLine(const char* commandLine);
