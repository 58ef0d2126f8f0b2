#pragma once

// Comparisons of the program's own words (switches, drive texts, extensions): ASCII
// letters only, so the result never depends on the user's code page.
char AsciiLower(char c);

// Equal texts, ignoring the case of ASCII letters; null equals only null.
bool EqualsIgnoringCase(const char* a, const char* b);

// A switch's or an option's value as a whole number: decimal digits only, at most
// `most`; -1 for any other word (empty, signed, with other characters, or larger).
long WholeNumberOf(const char* word, long most);
