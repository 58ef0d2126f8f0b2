// The terminal program's argument grammar: what each line asks for, and what is refused.
#include <gtest/gtest.h>

#include <sstream>

#include "linux/command_arguments.h"

namespace {

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

struct Accepted {
    const char* line;
    Command command;
    const char* device;
    const char* description;
    bool emergency;
    int retries;
    VerifyChoice verify;
    bool quiet;
    bool yes;
    const char* operands;  // joined by "|"
};

class AcceptedArgumentsTest : public ::testing::TestWithParam<Accepted> {};

TEST_P(AcceptedArgumentsTest, Parse) {
    const Accepted& c = GetParam();
    Arguments arguments;
    std::string error;
    ASSERT_EQ(ParseArguments(Words(c.line), &arguments, &error), 0) << c.line << ": " << error;
    EXPECT_EQ(arguments.command, c.command);
    EXPECT_EQ(arguments.device, c.device);
    EXPECT_EQ(arguments.description, c.description);
    EXPECT_EQ(arguments.emergency, c.emergency);
    EXPECT_EQ(arguments.retries, c.retries);
    EXPECT_EQ(arguments.verify, c.verify);
    EXPECT_EQ(arguments.quiet, c.quiet);
    EXPECT_EQ(arguments.yes, c.yes);
    std::string joined;
    for (const std::string& operand : arguments.operands) joined += (joined.empty() ? "" : "|") + operand;
    EXPECT_EQ(joined, c.operands);
}

constexpr VerifyChoice D = VerifyChoice::Default;

const Accepted kAccepted[] = {
    {"", Command::Help, "", "", false, -1, D, false, false, ""},
    {"read a.imz", Command::Read, "", "", false, -1, D, false, false, "a.imz"},
    {"read -d /dev/sdb -m text a.imz", Command::Read, "/dev/sdb", "text", false, -1, D, false, false, "a.imz"},
    {"read a.img -e --retries 3 -d/dev/fd1", Command::Read, "/dev/fd1", "", true, 3, D, false, false, "a.img"},
    {"-qy read --device=disk.raw --description=x a.img", Command::Read, "disk.raw", "x", false, -1, D, true, true, "a.img"},
    {"read --retries=0 -e a.img", Command::Read, "", "", true, 0, D, false, false, "a.img"},
    {"write --no-verify a.imz -y", Command::Write, "", "", false, -1, VerifyChoice::Off, false, true, "a.imz"},
    {"write --verify --verify a.imz", Command::Write, "", "", false, -1, VerifyChoice::On, false, false, "a.imz"},
    {"write -- -odd.imz", Command::Write, "", "", false, -1, D, false, false, "-odd.imz"},
    {"convert a.img b.imz -m note", Command::Convert, "", "note", false, -1, D, false, false, "a.img|b.imz"},
    {"check a.exe -q", Command::Check, "", "", false, -1, D, true, false, "a.exe"},
    {"info a.imz", Command::Info, "", "", false, -1, D, false, false, "a.imz"},
    // The help and the version win over anything else on the line, even a mistake.
    {"read --help", Command::Help, "", "", false, -1, D, false, false, ""},
    {"write -e --version", Command::Version, "", "", true, -1, D, false, false, ""},
    {"-V", Command::Version, "", "", false, -1, D, false, false, ""},
    {"drives -q", Command::Drives, "", "", false, -1, D, true, false, ""},
};

INSTANTIATE_TEST_SUITE_P(Lines, AcceptedArgumentsTest, ::testing::ValuesIn(kAccepted));

struct Refused {
    const char* line;
    const char* error;
};

class RefusedArgumentsTest : public ::testing::TestWithParam<Refused> {};

TEST_P(RefusedArgumentsTest, SaysWhy) {
    Arguments arguments;
    std::string error;
    ASSERT_EQ(ParseArguments(Words(GetParam().line), &arguments, &error), -1) << GetParam().line;
    EXPECT_EQ(error, GetParam().error);
}

const Refused kRefused[] = {
    {"-q", "no command given"},
    {"copy a.img", "unknown command 'copy'"},
    {"read", "read needs an image"},
    {"convert a.img", "convert needs a source and a target image"},
    {"read a.img b.img", "extra operand 'b.img'"},
    {"read -x a.img", "unknown option '-x'"},
    {"read --fast a.img", "unknown option '--fast'"},
    {"read a.img -d", "option '-d' needs a value"},
    {"read a.img --device", "option '--device' needs a value"},
    {"read a.img --device=", "option '--device' needs a device"},
    {"read --quiet=yes a.img", "option '--quiet' takes no value"},
    {"write -e a.imz", "option '-e' does not apply to write"},
    {"write -m text a.imz", "option '-m' does not apply to write"},
    {"read --verify a.imz", "option '--verify' does not apply to read"},
    {"info -d /dev/fd0 a.imz", "option '-d' does not apply to info"},
    {"check a.img --retries 2", "option '--retries' does not apply to check"},
    {"drives -d /dev/fd0", "option '-d' does not apply to drives"},
    {"drives a.img", "extra operand 'a.img'"},
    {"write --verify --no-verify a.imz", "--verify and --no-verify contradict each other"},
    {"read -e --retries -1 a.img", "--retries wants a whole number from 0 to 20, not '-1'"},
    {"read -e --retries 21 a.img", "--retries wants a whole number from 0 to 20, not '21'"},
    {"read -e --retries 3x a.img", "--retries wants a whole number from 0 to 20, not '3x'"},
    {"read --retries 2 a.img", "--retries applies to emergency reads (-e) only"},
    {"read --batch box.imz", "--batch wants one run of '#' in the image name for the disk's number, as in box4-##.imz"},
    {"read --batch b#x#.imz", "--batch wants one run of '#' in the image name for the disk's number, as in box4-##.imz"},
    {"read --batch -m '#-#' b#.imz", "the description may hold one run of '#' for the disk's number, not more"},
    {"read --first 2 a.imz", "option '--first' applies to --batch only"},
    {"read --batch --first 0 b#.imz", "--first wants a disk number from 1 to 999999, not '0'"},
    {"write --log a.imz", "option '--log' does not apply to write"},
};

INSTANTIATE_TEST_SUITE_P(Lines, RefusedArgumentsTest, ::testing::ValuesIn(kRefused));

TEST(ArgumentWords, EmptyImageNameIsRefused) {
    Arguments arguments;
    std::string error;
    EXPECT_EQ(ParseArguments({"read", ""}, &arguments, &error), -1);
    EXPECT_EQ(error, "read: an empty image name");
}

TEST(ArgumentWords, DescriptionKeepsBlanksAndLeadingDashes) {
    Arguments arguments;
    std::string error;
    ASSERT_EQ(ParseArguments({"read", "-m", "-- my disk --", "a.imz"}, &arguments, &error), 0) << error;
    EXPECT_EQ(arguments.description, "-- my disk --");
    EXPECT_EQ(arguments.operands, std::vector<std::string>{"a.imz"});
}

TEST(ArgumentWords, BatchTakesItsNumberAndManifestAndKeepsTheCommandLine) {
    Arguments arguments;
    std::string error;
    ASSERT_EQ(ParseArguments({"read", "--batch", "--first=7", "--manifest", "m.txt", "-m", "Box 4, disk ##", "b-##.imz"},
                             &arguments, &error),
              0)
        << error;
    EXPECT_TRUE(arguments.batch);
    EXPECT_EQ(arguments.first, 7u);
    EXPECT_EQ(arguments.manifest, "m.txt");
    EXPECT_EQ(arguments.commandLine, "vorlix read --batch --first=7 --manifest m.txt -m 'Box 4, disk ##' 'b-##.imz'");
}

}  // namespace
