// The string table is text that the compiler never checks against the code: a name
// used in code but missing from string_ids.h, an ID without an entry, or a typo in a
// message would only show when the program runs. These tests read the sources.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "resources/string_ids.h"
#include "tests/support/string_table_source.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class StringTable : public ::testing::Test {
protected:
    static void SetUpTestSuite() { table_ = new StringTableSource(LoadStringTableSource()); }
    static void TearDownTestSuite() {
        delete table_;
        table_ = nullptr;
    }
    static const StringTableSource& table() { return *table_; }

private:
    static StringTableSource* table_;
};

StringTableSource* StringTable::table_ = nullptr;

TEST_F(StringTable, BothFilesAreReadWithoutProblems) {
    EXPECT_GT(table().ids.size(), 30u);
    EXPECT_THAT(table().problems, IsEmpty());
    EXPECT_THAT(table().duplicateNames, IsEmpty());
}

TEST_F(StringTable, EveryDefinedIdHasAnEntry) {
    for (const auto& [name, id] : table().ids) {
        EXPECT_TRUE(table().texts.count(id)) << name << " (" << id << ") has no entry";
    }
}

TEST_F(StringTable, EveryEntryIsNamedInTheHeader) {
    for (const std::string& key : table().entryKeys) {
        EXPECT_TRUE(table().ids.count(key)) << "entry " << key << " has no IDS_ name";
    }
}

TEST_F(StringTable, NoTwoNamesShareAValue) {
    std::map<unsigned, std::string> owner;
    for (const auto& [name, id] : table().ids) {
        auto [it, fresh] = owner.emplace(id, name);
        EXPECT_TRUE(fresh) << name << " and " << it->second << " are both " << id;
    }
}

TEST_F(StringTable, EveryNameUsedInTheCodeIsDefined) {
    const auto used = IdsNamesUsedIn({"engine", "app", "ui", "online"});
    ASSERT_FALSE(used.empty()) << "the scan found nothing; wrong source folder?";
    for (const auto& [name, file] : used) {
        EXPECT_TRUE(table().ids.count(name)) << name << " used in " << file << " is not defined";
    }
}

// A control whose ID has a string gets it as a tooltip. Only the settings page's boxes
// should: a stray entry would put a tooltip on an OK button or a status line.
TEST_F(StringTable, OnlyTheSettingsBoxesHaveTooltipTexts) {
    std::set<unsigned> inControlRange;
    for (const auto& [id, text] : table().texts) {
        if (id == 1 || id == 2 || (id >= 1000 && id < 2000)) inControlRange.insert(id);
    }
    EXPECT_THAT(inControlRange, ElementsAre(1029u, 1030u, 1031u, 1032u, 1033u, 1034u, 1035u, 1036u, 1037u, 1038u, 1039u));
}

// The message box formats each text with one text and one number, or up to four numbers,
// so a text may hold %s once and a number (%d or %u) once, or four numbers and no text,
// and no other conversion.
TEST_F(StringTable, TextsHoldOnlyPlaceholdersTheMessageBoxCanFill) {
    for (const auto& [id, text] : table().texts) {
        int strings = 0, numbers = 0;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] != '%') continue;
            const char kind = i + 1 < text.size() ? text[++i] : '\0';
            if (kind == 's') ++strings;
            else if (kind == 'd' || kind == 'u') ++numbers;
            else EXPECT_EQ(kind, '%') << "string " << id << ": " << text;
        }
        EXPECT_LE(strings, 1) << "string " << id;
        EXPECT_LE(numbers, strings == 0 ? 4 : 1) << "string " << id;
    }
}

TEST_F(StringTable, TextsAreSingleLineFreeOfControlCharacters) {
    for (const auto& [id, text] : table().texts) {
        EXPECT_FALSE(text.empty()) << "string " << id;
        for (unsigned char c : text) {
            EXPECT_TRUE(c >= 0x20 || c == '\n') << "string " << id << " holds byte " << int(c);
        }
    }
}

struct ExactText {
    unsigned id;
    const char* text;
};

class StringTableWording : public StringTable, public ::testing::WithParamInterface<ExactText> {};

TEST_P(StringTableWording, MatchesByteForByte) {
    const auto found = table().texts.find(GetParam().id);
    ASSERT_NE(found, table().texts.end()) << GetParam().id;
    EXPECT_EQ(found->second, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, StringTableWording,
    ::testing::Values(
        ExactText{57344, "Vorlix"},
        ExactText{57666,
                  "This image file was made with a newer version of Vorlix.\n"
                  "You should get the new version before continuing!"},
        ExactText{57674, "The floppy disk doesn't match the image file.\nYou need a %s floppy disk."},
        ExactText{57675, "The floppy disk doesn't match the image file.\nIt needs to be formatted to %dkB."},
        ExactText{57676,
                  "Failed to write sector on floppy disk (error: %d). Please make sure that:\n\n"
                  "1) The floppy disk matches the image file (DD or HD)\n"
                  "2) It's been formatted in the correct format (720, 1.44, etc)\n"
                  "3) It doesn't contain any bad sectors"},
        ExactText{119,
                  "Failed to read sector on floppy disk (error: %d).\n"
                  "The disk is probably bad and should be replaced."},
        ExactText{57670,
                  "This will overwrite the content of the floppy disk that is currently in the drive.\n"
                  "Are you sure you want to do this?"},
        ExactText{57677, "%d kB copied (%s kB/sec)"},
        ExactText{125,
                  "The image file does not hold a whole floppy disk (%u of %u bytes).\n"
                  "Nothing was written to the floppy disk."},
        ExactText{126,
                  "The floppy disk in drive %s is in use.\n"
                  "Close every window and file that uses it, then try again."},
        ExactText{103, "%s already exists.\nDo you want to replace it?"},
        ExactText{1031,
                  "This option should only be used when you need to recover data from a bad floppy. "
                  "When this setting is active you can only save the image file as IMG."},
        ExactText{216, "Can't open link:\n\nA sharing violation occurred. "},
        // The sector's address goes in front of message 119's own text.
        ExactText{137,
                  "%sFailed to read sector on floppy disk (error: %d).\n"
                  "The disk is probably bad and should be replaced."},
        ExactText{139,
                  "An earlier read of this disk could not read %u sectors (listed in %s).\n"
                  "Read only those sectors again?"},
        ExactText{140, "Reading floppy (%s): %d bad sectors so far"}));

TEST(ResourceStringReader, UndoesTheCompilerEscapes) {
    EXPECT_EQ(UnescapeResourceString(R"(a\nb\tc\\d\"e""f)"), "a\nb\tc\\d\"e\"f");
}

TEST(ResourceStringReader, ReportsEntriesItCannotResolve) {
    const StringTableSource table = ParseStringTableSource(
        "#define IDS_ONE 7\n#define IDS_ONE 8\n#define IDS_BAD x\n#define GUARD_IDS_H\n",
        "STRINGTABLE\nBEGIN\n  IDS_ONE \"x\"\n  IDS_TWO \"y\"\n  12, \"z\"\n  garbage\nEND\n");
    EXPECT_THAT(table.duplicateNames, ElementsAre("IDS_ONE"));
    EXPECT_EQ(table.texts.at(8), "x");
    EXPECT_EQ(table.texts.at(12), "z");
    EXPECT_THAT(table.problems, ElementsAre("#define IDS_BAD x", "unknown name IDS_TWO", "  garbage"));
}

}  // namespace
