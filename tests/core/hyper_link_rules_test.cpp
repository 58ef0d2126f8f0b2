#include "ui/hyper_link_rules.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "resources/string_ids.h"
#include "tests/support/string_table_source.h"

namespace {

const uint32_t kBlue = LinkRgb(0, 0, 255);
const uint32_t kTeal = LinkRgb(0, 128, 128);
const uint32_t kPurple = LinkRgb(128, 0, 128);
const uint32_t kRed = LinkRgb(255, 0, 0);

// --- Colours ---------------------------------------------------------------------------

TEST(LinkColours, StartBlueTealPurpleAndRed) {
    const LinkColours colours;
    EXPECT_EQ(colours.link, 0x00FF0000u);
    EXPECT_EQ(colours.active, 0x00808000u);
    EXPECT_EQ(colours.visited, 0x00800080u);
    EXPECT_EQ(colours.hover, 0x000000FFu);
}

TEST(LinkColours, AHoverOfAllBitsSetMeansTheSystemHighlight) {
    const uint32_t highlight = LinkRgb(10, 36, 106);
    EXPECT_EQ(MakeLinkColours(kBlue, kBlue, kBlue, kSystemHighlightColour, highlight).hover, highlight);
    const LinkColours chosen = MakeLinkColours(1, 2, 3, 4, highlight);
    EXPECT_EQ(chosen.link, 1u);
    EXPECT_EQ(chosen.active, 2u);
    EXPECT_EQ(chosen.visited, 3u);
    EXPECT_EQ(chosen.hover, 4u);
}

struct ColourCase {
    bool over, active, visited;
    uint32_t flags;
    uint32_t expected;
};

class ColourChoice : public testing::TestWithParam<ColourCase> {};

TEST_P(ColourChoice, FollowsHoverActiveVisitedLink) {
    const ColourCase& c = GetParam();
    LinkState state;
    state.over = c.over;
    state.active = c.active;
    state.visited = c.visited;
    EXPECT_EQ(ChooseLinkColour(LinkColours(), state, c.flags), c.expected)
        << "over " << c.over << " active " << c.active << " visited " << c.visited << " flags "
        << c.flags;
}

const uint32_t kDefault = kDefaultLinkFlags;
const uint32_t kHover = kDefaultLinkFlags | kLinkHoverColour;
const uint32_t kNoActive = kDefaultLinkFlags | kLinkNeverActiveColour;

INSTANTIATE_TEST_SUITE_P(
    States, ColourChoice,
    testing::Values(
        // The default flags never use the hover colour.
        ColourCase{false, false, false, kDefault, kBlue}, ColourCase{true, false, false, kDefault, kBlue},
        ColourCase{true, true, false, kDefault, kTeal}, ColourCase{false, true, true, kDefault, kTeal},
        ColourCase{true, false, true, kDefault, kPurple}, ColourCase{false, false, true, kDefault, kPurple},
        // Hover first when allowed, and only while over.
        ColourCase{true, true, true, kHover, kRed}, ColourCase{false, true, true, kHover, kTeal},
        ColourCase{false, false, false, kHover, kBlue},
        // Without the active colour a pressed link shows what it would otherwise.
        ColourCase{false, true, false, kNoActive, kBlue}, ColourCase{false, true, true, kNoActive, kPurple},
        ColourCase{true, true, false, kNoActive | kLinkHoverColour, kRed}));

// --- Fitting the control to its text ------------------------------------------------

struct FitCase {
    const char* name;
    LinkBox window;
    int clientWidth, clientHeight;
    int textWidth, textHeight;
    uint32_t style;
    LinkBox expected;
};

class FitToText : public testing::TestWithParam<FitCase> {};

TEST_P(FitToText, MovesAndSizesTheControl) {
    const FitCase& c = GetParam();
    const LinkBox box = FitLinkToText(c.window, c.clientWidth, c.clientHeight, c.textWidth, c.textHeight, c.style);
    EXPECT_EQ(box.left, c.expected.left);
    EXPECT_EQ(box.top, c.expected.top);
    EXPECT_EQ(box.width, c.expected.width);
    EXPECT_EQ(box.height, c.expected.height);
}

const uint32_t kLeft = 0x0, kCentre = 0x1, kRight = 0x2, kCentreImage = 0x200, kSimple = 0xB,
               kLeftNoWrap = 0xC, kNotify = 0x100;

INSTANTIATE_TEST_SUITE_P(
    Styles, FitToText,
    testing::Values(
        FitCase{"LeftNarrowedToTheText", {10, 20, 200, 16}, 200, 16, 120, 13, kLeft, {10, 20, 120, 13}},
        FitCase{"CentredLosesFortyOnEachSide", {10, 20, 200, 16}, 200, 16, 120, 13, kCentre, {50, 20, 120, 13}},
        FitCase{"RightKeepsItsRightEdge", {10, 20, 200, 16}, 200, 16, 120, 13, kRight, {90, 20, 120, 13}},
        FitCase{"FrameIsAddedBack", {10, 20, 204, 20}, 200, 16, 120, 13, kLeft, {10, 20, 124, 17}},
        FitCase{"CentredWithFrame", {10, 20, 204, 20}, 200, 16, 120, 13, kCentre, {52, 20, 124, 17}},
        FitCase{"VerticallyCentred", {0, 10, 100, 30}, 100, 30, 40, 12, kCentreImage, {0, 19, 40, 12}},
        FitCase{"VerticallyCentredOddTruncates", {0, 10, 100, 30}, 100, 30, 40, 13, kCentreImage, {0, 18, 40, 14}},
        FitCase{"CentredOddTruncates", {0, 0, 101, 10}, 101, 10, 50, 10, kCentre, {25, 0, 51, 10}},
        FitCase{"CentredAndVertically", {0, 0, 100, 40}, 100, 40, 60, 20, kCentre | kCentreImage, {20, 10, 60, 20}},
        FitCase{"TextWiderThanControlGrows", {100, 0, 50, 10}, 50, 10, 90, 10, kCentre, {80, 0, 90, 10}},
        FitCase{"NegativeHalfTruncatesTowardZero", {100, 0, 50, 10}, 50, 10, 53, 10, kCentre, {99, 0, 52, 10}},
        FitCase{"RightAlignedGrowsLeftwards", {100, 0, 50, 10}, 50, 10, 90, 10, kRight, {60, 0, 90, 10}},
        FitCase{"NotifyBitIsNoAlignment", {10, 20, 200, 16}, 200, 16, 120, 13, kLeft | kNotify, {10, 20, 120, 13}},
        // Alignment is a type value: these contain the centre bit but are left-aligned.
        FitCase{"SimpleIsLeftAligned", {10, 20, 200, 16}, 200, 16, 120, 13, kSimple, {10, 20, 120, 13}},
        FitCase{"LeftNoWordWrapIsLeftAligned", {10, 20, 200, 16}, 200, 16, 120, 13, kLeftNoWrap, {10, 20, 120, 13}}),
    [](const testing::TestParamInfo<FitCase>& param) { return std::string(param.param.name); });

// --- The ".htm" fallback command ----------------------------------------------------

struct CommandCase {
    const char* name;
    const char* registered;
    const char* expected;
};

class FallbackCommand : public testing::TestWithParam<CommandCase> {};

TEST_P(FallbackCommand, CutsAtThePlaceholderAndAppendsTheTarget) {
    EXPECT_EQ(FallbackCommandLine(GetParam().registered, "http://host/"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, FallbackCommand,
    testing::Values(
        CommandCase{"QuotedPlaceholder", "\"C:\\Browser\\b.exe\" -nohome \"%1\"",
                    "\"C:\\Browser\\b.exe\" -nohome  \"http://host/\""},
        CommandCase{"BarePlaceholder", "C:\\b.exe %1 -x", "C:\\b.exe  \"http://host/\""},
        CommandCase{"NoPlaceholder", "C:\\b.exe -nohome", "C:\\b.exe -nohome \"http://host/\""},
        CommandCase{"QuotedWinsOverAnEarlierBareOne", "b.exe %1 \"%1\"", "b.exe %1  \"http://host/\""},
        CommandCase{"QuotedPlaceholderFirst", "\"%1\" b.exe", " \"http://host/\""},
        CommandCase{"OtherPlaceholdersStay", "b.exe /dde %L", "b.exe /dde %L \"http://host/\""}),
    [](const testing::TestParamInfo<CommandCase>& param) { return std::string(param.param.name); });

TEST(FallbackCommand, KeepsLongCommandsAndTargetsWhole) {
    const std::string program = "\"C:\\" + std::string(300, 'p') + "\\b.exe\" ";
    const std::string target = "http://host/" + std::string(2000, 'q');
    EXPECT_EQ(FallbackCommandLine(program + "\"%1\"", target), program + " \"" + target + "\"");
}

// --- Opening a target -----------------------------------------------------------------

// A shell with a class root in a map; records what it is asked.
class ScriptedShell : public LinkShell {
public:
    int shellResult = 42;
    int startResult = 33;
    std::map<std::string, std::string> classes;  // key path -> default value
    std::vector<std::string> calls;

    int OpenWithShell(const char* target, int showMode) override {
        calls.push_back("open " + std::string(target) + " " + std::to_string(showMode));
        return shellResult;
    }
    bool ReadClassDefault(const char* keyPath, std::string& text) override {
        calls.push_back("read " + std::string(keyPath));
        auto found = classes.find(keyPath);
        if (found == classes.end()) return false;
        text = found->second;
        return true;
    }
    int StartCommand(const char* commandLine, int showMode) override {
        calls.push_back("start " + std::string(commandLine) + " " + std::to_string(showMode));
        return startResult;
    }
};

class OpenLink : public testing::Test {
protected:
    void RegisterHtml(const char* htmlClass, const char* command) {
        shell.classes[".htm"] = htmlClass;
        if (command != nullptr) shell.classes[std::string(htmlClass) + "\\shell\\open\\command"] = command;
    }
    int Open(const char* target = "http://www.example/") { return OpenLinkTarget(shell, target, 1); }

    ScriptedShell shell;
};

TEST_F(OpenLink, TheShellsSuccessIsTheAnswerAndNothingElseIsTried) {
    RegisterHtml("htmlfile", "browser.exe \"%1\"");
    EXPECT_EQ(Open(), 42);
    EXPECT_EQ(shell.calls, (std::vector<std::string>{"open http://www.example/ 1"}));
}

TEST_F(OpenLink, AFailingShellFallsBackOnTheHtmlBrowser) {
    RegisterHtml("htmlfile", "\"C:\\Web\\browser.exe\" -nohome \"%1\"");
    shell.shellResult = 31;
    EXPECT_EQ(Open("mailto:me@host.example"), 33);
    EXPECT_EQ(shell.calls,
              (std::vector<std::string>{"open mailto:me@host.example 1", "read .htm",
                                        "read htmlfile\\shell\\open\\command",
                                        "start \"C:\\Web\\browser.exe\" -nohome  \"mailto:me@host.example\" 1"}));
}

TEST_F(OpenLink, TheFallbacksOwnFailureIsReported) {
    RegisterHtml("htmlfile", "browser.exe");
    shell.shellResult = 31;
    shell.startResult = 2;
    EXPECT_EQ(Open(), 2);
}

struct MissingCase {
    const char* name;
    const char* htmlClass;  // nullptr: no ".htm" key at all
    const char* command;    // nullptr: no command key
};

class OpenLinkWithoutFallback : public OpenLink, public testing::WithParamInterface<MissingCase> {};

TEST_P(OpenLinkWithoutFallback, ReportsTheShellsResult) {
    const MissingCase& c = GetParam();
    if (c.htmlClass != nullptr) RegisterHtml(c.htmlClass, c.command);
    shell.shellResult = 27;
    EXPECT_EQ(Open(), 27);
    EXPECT_EQ(shell.calls.back().rfind("read ", 0), 0u) << "nothing was started";
}

INSTANTIATE_TEST_SUITE_P(
    Registry, OpenLinkWithoutFallback,
    testing::Values(MissingCase{"NoHtmKey", nullptr, nullptr},
                    MissingCase{"EmptyClassName", "", nullptr},
                    MissingCase{"ClassWithoutCommand", "htmlfile", nullptr},
                    MissingCase{"EmptyCommand", "htmlfile", ""}),
    [](const testing::TestParamInfo<MissingCase>& param) { return std::string(param.param.name); });

struct AddressCase {
    const char* target;
    bool handedToTheBrowser;
};

class OpenLinkAddress : public OpenLink, public testing::WithParamInterface<AddressCase> {};

// A failing shell must not turn a link into a way to start a program or open a local
// document through the browser's command line.
TEST_P(OpenLinkAddress, OnlyWebAndMailAddressesReachTheBrowser) {
    RegisterHtml("htmlfile", "browser.exe \"%1\"");
    shell.shellResult = 31;
    Open(GetParam().target);
    const bool started = shell.calls.back().rfind("start ", 0) == 0;
    EXPECT_EQ(started, GetParam().handedToTheBrowser) << GetParam().target;
    EXPECT_EQ(IsFallbackAddress(GetParam().target), GetParam().handedToTheBrowser);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, OpenLinkAddress,
    testing::Values(AddressCase{"http://www.example/", true},
                    AddressCase{"HTTPS://www.example/a?b=c&d", true},
                    AddressCase{"mailto:someone@host.example", true},
                    AddressCase{"http://host/with space", true},
                    AddressCase{"C:\\Windows\\notepad.exe", false},
                    AddressCase{"file:///C:/autoexec.bat", false},
                    AddressCase{"ftp://host/", false},
                    AddressCase{"http:", false},
                    AddressCase{"httpx://host/", false},
                    AddressCase{"", false},
                    AddressCase{"http://host/\" -new-program evil.exe", false},
                    AddressCase{"http://host/\r\nnext", false},
                    AddressCase{" http://host/", false}));

TEST_F(OpenLink, ACommandLongerThanAPathIsUsedWhole) {
    const std::string browser = "\"C:\\" + std::string(400, 'w') + "\\browser.exe\"";
    RegisterHtml("htmlfile", (browser + " \"%1\"").c_str());
    shell.shellResult = 0;
    Open("http://h/");
    EXPECT_EQ(shell.calls.back(), "start " + browser + "  \"http://h/\" 1");
}

// --- The warning ------------------------------------------------------------------------

struct FailureCase {
    int code;
    const char* text;  // after "Can't open link:\n\n"
};

class OpenFailure : public testing::TestWithParam<FailureCase> {
protected:
    static void SetUpTestSuite() { table_ = new StringTableSource(LoadStringTableSource()); }
    static void TearDownTestSuite() {
        delete table_;
        table_ = nullptr;
    }
    static StringTableSource* table_;
};

StringTableSource* OpenFailure::table_ = nullptr;

TEST_P(OpenFailure, ShowsTheTextForTheCodeAsAWarning) {
    const FailureCase& c = GetParam();
    const UserMessage message = OpenFailureMessage(c.code);
    EXPECT_EQ(message.style, MessageStyle::Warning);
    EXPECT_EQ(message.text, nullptr);
    EXPECT_EQ(message.number, c.code);
    ASSERT_TRUE(table_->texts.count(message.id)) << message.id;
    std::string text = table_->texts.at(message.id);
    const size_t number = text.find("%d");
    if (number != std::string::npos) text.replace(number, 2, std::to_string(message.number));
    EXPECT_EQ(text, std::string("Can't open link:\n\n") + c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, OpenFailure,
    testing::Values(
        FailureCase{0, "The operating system is out\nof memory or resources."},
        FailureCase{2, "The specified file was not found."},
        FailureCase{3, "The specified path was not found."},
        FailureCase{5, "The operating system denied\naccess to the specified file."},
        FailureCase{8, "There was not enough memory to complete the operation."},
        FailureCase{11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
        FailureCase{26, "A sharing violation occurred. "},
        FailureCase{27, "The filename association is\nincomplete or invalid."},
        FailureCase{28, "The DDE transaction could not\nbe completed because the request timed out."},
        FailureCase{29, "The DDE transaction failed."},
        FailureCase{30, "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed."},
        FailureCase{31, "There is no application associated\nwith the given filename extension."},
        FailureCase{32, "The specified dynamic-link library was not found."},
        FailureCase{99, "Unknown Error (99) occurred."},
        FailureCase{1, "Unknown Error (1) occurred."},
        FailureCase{33, "Unknown Error (33) occurred."},
        FailureCase{-5, "Unknown Error (-5) occurred."}));

}  // namespace
