// The grammar of the commands over a disk's files, and the JSON their listing writes.
#include <gtest/gtest.h>

#include <sstream>

#include "linux/command_arguments.h"
#include "linux/json_text.h"

namespace {

std::vector<std::string> WordsOf(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

std::string Joined(const std::vector<std::string>& operands) {
    std::string out;
    for (const std::string& operand : operands) out += (out.empty() ? "" : "|") + operand;
    return out;
}

TEST(ContentsArguments, AcceptsEachCommandsOwnOptions) {
    struct Case {
        const char* line;
        Command command;
        const char* operands;
    };
    const Case kCases[] = {
        {"list disk.imz", Command::List, "disk.imz"},
        {"list --json --deleted -d /dev/sdb", Command::List, ""},
        {"extract disk.img", Command::Extract, "disk.img"},
        {"extract disk.img DOCS/A.TXT B -o out -y", Command::Extract, "disk.img|DOCS/A.TXT|B"},
        {"make folder new.imz -f 720 --label LETTERS -m text", Command::Make, "folder|new.imz"},
    };
    for (const Case& c : kCases) {
        Arguments arguments;
        std::string error;
        ASSERT_EQ(ParseArguments(WordsOf(c.line), &arguments, &error), 0) << c.line << ": " << error;
        EXPECT_EQ(arguments.command, c.command) << c.line;
        EXPECT_EQ(Joined(arguments.operands), c.operands) << c.line;
    }
    Arguments arguments;
    std::string error;
    ASSERT_EQ(ParseArguments(WordsOf("make f i.img --format=2880 --label=X"), &arguments, &error), 0);
    EXPECT_EQ(arguments.formatKilobytes, 2880);
    EXPECT_EQ(arguments.label, "X");
    ASSERT_EQ(ParseArguments(WordsOf("list --json -d /dev/fd1"), &arguments, &error), 0);
    EXPECT_TRUE(arguments.json && arguments.deviceGiven);
    EXPECT_EQ(arguments.device, "/dev/fd1");
    // Neither: the command runner lists the only drive there is.
    ASSERT_EQ(ParseArguments(WordsOf("list"), &arguments, &error), 0);
    EXPECT_TRUE(arguments.operands.empty() && arguments.device.empty() && !arguments.deviceGiven);
}

TEST(ContentsArguments, RefusesWhatDoesNotApply) {
    const char* const kRefused[] = {
        "list a.img -d /dev/fd0",     // both
        "list a.img b.img",
        "extract",
        "make folder",
        "make f i.img -f 14x",
        "make f i.img -f 0",
        "read --json a.img",
        "extract a.img --label X",
        "list a.img -o out",
        "write -f 720 a.img",
    };
    for (const char* line : kRefused) {
        Arguments arguments;
        std::string error;
        EXPECT_EQ(ParseArguments(WordsOf(line), &arguments, &error), -1) << line;
        EXPECT_FALSE(error.empty()) << line;
    }
}

TEST(JsonText, EscapesWhatJsonCannotHoldAsItStands) {
    const std::pair<std::string, std::string> kTexts[] = {
        {"plain.txt", "\"plain.txt\""},
        {"say \"hi\"\\", "\"say \\\"hi\\\"\\\\\""},
        {std::string("a\x01\n\tb\x7f", 6), "\"a\\u0001\\n\\tb\\u007f\""},
        {"\xC3\x9C" "ber \xE2\x82\xAC", "\"\xC3\x9C" "ber \xE2\x82\xAC\""},
        {"bad \xFF\xC3 end", "\"bad \\ufffd\\ufffd end\""},
        {"\xED\xA0\x80", "\"\\ufffd\\ufffd\\ufffd\""},  // an encoded surrogate is no UTF-8
        {std::string("nul\0x", 5), "\"nul\\u0000x\""},
    };
    for (const auto& [text, json] : kTexts) EXPECT_EQ(JsonString(text), json) << text;
}

}  // namespace
