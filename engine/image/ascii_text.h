#pragma once

// Comparisons of the program's own words (switches, drive texts, extensions): ASCII
// letters only, so the result never depends on the user's code page.
char AsciiLower(char c);

// Equal texts, ignoring the case of ASCII letters; null equals only null.
bool EqualsIgnoringCase(const char* a, const char* b);
