#include "tests/support/command_line_split.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

const char* SkipBlanks(const char* p) {
    while (IsBlank(*p)) {
        ++p;
    }
    return p;
}

// A program path cannot hold a quote, so the runtime does not look for escaped ones.
const char* ReadProgramWord(const char* p, std::string& word) {
    bool quoted = false;
    for (; *p != '\0'; ++p) {
        if (*p == '"') {
            quoted = !quoted;
        } else if (!quoted && IsBlank(*p)) {
            break;
        } else {
            word += *p;
        }
    }
    return p;
}

const char* ReadArgumentWord(const char* p, std::string& word) {
    bool quoted = false;
    for (;;) {
        size_t backslashes = 0;
        while (*p == '\\') {
            ++backslashes;
            ++p;
        }
        if (*p != '"') {
            word.append(backslashes, '\\');
            if (*p == '\0' || (!quoted && IsBlank(*p))) {
                return p;
            }
            word += *p++;
            continue;
        }
        word.append(backslashes / 2, '\\');
        if (backslashes % 2 == 1 || (quoted && p[1] == '"')) {
            // An escaped quote, or the second of a doubled one, is text.
            p += backslashes % 2 == 1 ? 1 : 2;
            word += '"';
        } else {
            quoted = !quoted;
            ++p;
        }
    }
}

}  // namespace

std::vector<std::string> SplitCommandLine(const char* commandLine) {
    std::vector<std::string> words(1);
    if (commandLine == nullptr) {
        return words;
    }
    const char* p = ReadProgramWord(commandLine, words[0]);
    for (p = SkipBlanks(p); *p != '\0'; p = SkipBlanks(p)) {
        words.emplace_back();
        p = ReadArgumentWord(p, words.back());
    }
    return words;
}
