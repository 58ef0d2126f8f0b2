#pragma once
#include <ostream>
#include <string>
#include <vector>

// One table for the URL canonicalisation and the form encoding over it, run natively
// against EmulatedCanonicalizer and under Wine against WinINet itself, so the emulation
// and the real call are held to the same answers.
struct CanonicalizeCase {
    const char* name;
    std::string text;
    const char* canonical;  // what InternetCanonicalizeUrlA gives; nullptr: not pinned
    std::string encoded;    // what EncodeFormValue sends
};

inline std::ostream& operator<<(std::ostream& out, const CanonicalizeCase& c) {
    return out << c.name;
}

inline const CanonicalizeCase kCanonicalizeCases[] = {
    // Ordinary text: the canonicalisation's escapes are the ones sent.
    {"Words", "The program in general", "The%20program%20in%20general", "The%20program%20in%20general"},
    {"Percent", "100%", "100%25", "100%25"},
    {"TypedEscape", "a%20b", "a%2520b", "a%2520b"},
    {"BarePercent", "%zz", "%25zz", "%25zz"},
    {"Unsafe", "<>\"{}|^[]`~", "%3C%3E%22%7B%7D%7C%5E%5B%5D%60~", "%3C%3E%22%7B%7D%7C%5E%5B%5D%60~"},
    {"Backslashes", "\\back\\slash", "%5Cback%5Cslash", "%5Cback%5Cslash"},
    {"PunctuationKept", "'()*!,;:", "'()*!,;:", "'()*!,;:"},
    {"ReservedKept", "me@host.example $5 /x", "me@host.example%20$5%20/x", "me@host.example%20$5%20/x"},
    {"LineBreakMarkerKept", "@$ $@", "@$%20$@", "@$%20$@"},
    {"DotSegmentsKept", "x/../y", "x/../y", "x/../y"},
    {"Latin1", "caf\xe9", "caf%E9", "caf%E9"},
    {"ControlCharacters", "a\x01" "b\x7f" "c", "a%01b%7Fc", "a%01b%7Fc"},
    {"LoneLineBreaks", "cr\rlf\nend", "cr%0Dlf%0Aend", "cr%0Dlf%0Aend"},
    {"LeadingBlanks", "  lead", "%20%20lead", "%20%20lead"},
    {"SpaceAfterWordColon", "Note: x", "Note:%20x", "Note:%20x"},
    {"Empty", "", "", ""},
    // Form separators the canonicalisation leaves bare.
    {"FormSeparators", "a&b=c+d#e", "a%26b=c+d#e", "a%26b%3Dc%2Bd%23e"},
    {"QuestionMark", "why? it fails", "why? it fails", "why?%20it%20fails"},
    {"Hash", "see #3 & #4", "see%20#3 & #4", "see%20%233%20%26%20%234"},
    // Rewrites of the text: escaped here instead, nothing lost.
    {"Tab", "tab\there", "tabhere", "tab%09here"},
    {"TrailingBlanks", "trail  ", "trail", "trail%20%20"},
    {"DriveLetter", "A: drive failed", "file://A:%20drive%20failed", "A:%20drive%20failed"},
    {"DrivePath", "A:\\x y", "file://A:/x%20y", "A:%5Cx%20y"},
    // Not pinned: Wine's answers here depend on more than the emulation models.
    {"OnlyTab", "\t", nullptr, "%09"},
    {"SchemeDotSegments", "HTTP://X/A/../B", nullptr, "HTTP://X/A/../B"},
    {"RootDotSegments", "/x/../../y", nullptr, "/x/../../y"},
    {"WindowsOnlyBytes", "\x80\x9f", nullptr, "%80%9F"},
};

// The rows whose canonical form is pinned.
inline std::vector<CanonicalizeCase> PinnedCanonicalizeCases() {
    std::vector<CanonicalizeCase> pinned;
    for (const CanonicalizeCase& c : kCanonicalizeCases) {
        if (c.canonical != nullptr) pinned.push_back(c);
    }
    return pinned;
}
