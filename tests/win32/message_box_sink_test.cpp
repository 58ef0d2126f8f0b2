// The main program's message boxes: texts come from the real string table (linked into
// this test program), and boxes are shown from a worker thread as the jobs show them.
#include "platform/message_box_sink_win32.h"

#include <gtest/gtest.h>

#include <string>

#include "resources/string_ids.h"
#include "tests/support/message_box_content_win32.h"
#include "tests/support/string_table_source.h"

namespace {

std::string Format(const UserMessage& message, int outSize = kMessageTextSize) {
    std::string out(outSize, '\x7f');
    const int length = FormatUserMessage(NULL, message, &out[0], outSize);
    EXPECT_EQ(length, static_cast<int>(strlen(out.c_str())));
    return out.c_str();
}

UserMessage Message(unsigned id, const char* text = nullptr, long number = 0) {
    UserMessage message{id, MessageStyle::Error};
    message.text = text;
    message.number = number;
    return message;
}

struct FormatCase {
    const char* name;
    unsigned id;
    const char* text;
    long number;
    const char* expected;
};

class FormatUserMessageTable : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatUserMessageTable, FillsThePlaceholdersTheTextHolds) {
    const FormatCase& c = GetParam();
    EXPECT_EQ(Format(Message(c.id, c.text, c.number)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, FormatUserMessageTable,
    ::testing::Values(
        FormatCase{"Path", IDS_UNABLE_TO_OPEN, "C:\\disks\\a.img", 0, "Unable to open C:\\disks\\a.img"},
        FormatCase{"NumberOnly", IDS_SECTOR_READ_FAILED, "unused", 21,
                   "Failed to read sector on floppy disk (error: 21).\n"
                   "The disk is probably bad and should be replaced."},
        FormatCase{"NumberGluedToUnit", IDS_DISK_NEEDS_OTHER_FORMAT, nullptr, 1440,
                   "The floppy disk doesn't match the image file.\nIt needs to be formatted to 1440kB."},
        FormatCase{"NumberBeforeText", IDS_KB_COPIED, "45.6", 123, "123 kB copied (45.6 kB/sec)"},
        FormatCase{"NoPlaceholder", IDS_IMAGE_WRITE_FAILED, "unused", 7, "Failed to write image file"},
        FormatCase{"MissingText", IDS_UNABLE_TO_OPEN, nullptr, 0, "Unable to open "},
        FormatCase{"NegativeNumber", IDS_SECTOR_WRITE_FAILED, nullptr, -5,
                   "Failed to write sector on floppy disk (error: -5).\n"
                   "The disk is probably bad and should be replaced."},
        FormatCase{"NoSuchString", 4242, "x", 0, "Message 4242"}),
    [](const ::testing::TestParamInfo<FormatCase>& param) { return std::string(param.param.name); });

// Found and needed, in that order, unsigned: the sizes of a wrong image.
TEST(FormatUserMessage, FillsTwoNumbers) {
    UserMessage message = Message(IDS_IMAGE_NOT_WHOLE_DISK, "unused", 737280);
    message.secondNumber = 1474560;
    EXPECT_EQ(Format(message),
              "The image file does not hold a whole floppy disk (737280 of 1474560 bytes).\n"
              "Nothing was written to the floppy disk.");
}

// A bad sector and where it lies, in that order; the fourth number is the last a
// template may hold.
TEST(FormatUserMessage, FillsFourNumbers) {
    UserMessage message = Message(IDS_VERIFY_MISMATCH, "unused", 2879);
    message.secondNumber = 79;
    message.thirdNumber = 1;
    message.fourthNumber = 18;
    EXPECT_EQ(Format(message),
              "The floppy disk does not match the image file: sector 2879 (cylinder 79, head 1, "
              "sector 18) differs.\nThe disk is probably bad and should be replaced.");
}

// Numbers a template does not hold are never shown.
TEST(FormatUserMessage, IgnoresNumbersATemplateDoesNotHold) {
    UserMessage message = Message(IDS_IMAGE_NOT_WHOLE_DISK, nullptr, 1);
    message.secondNumber = 2;
    message.thirdNumber = 3;
    message.fourthNumber = 4;
    EXPECT_EQ(Format(message),
              "The image file does not hold a whole floppy disk (1 of 2 bytes).\n"
              "Nothing was written to the floppy disk.");
}

TEST(FormatUserMessage, KeepsALongestPathWhole) {
    const std::string path = "C:\\" + std::string(252, 'p') + ".imz";  // 259 characters
    ASSERT_EQ(path.size(), 259u);
    EXPECT_EQ(Format(Message(IDS_CANNOT_OPEN_PROGRAM_FILE, path.c_str())),
              "Unable to open " + path + ".\nConflicting anti-virus software could be causing this problem.");
}

// wsprintfA stops at 1024 bytes; the argument is cut so that the text around it, and
// the number, still arrive whole.
TEST(FormatUserMessage, CutsAnOverlongArgumentAndKeepsTheRest) {
    const std::string huge(5000, 'x');
    const std::string text = Format(Message(IDS_KB_COPIED, huge.c_str(), -2147483647L - 1));
    EXPECT_LE(text.size(), static_cast<size_t>(kMessageTextSize - 1));
    EXPECT_EQ(text.rfind("-2147483648 kB copied (xxx", 0), 0u) << text.substr(0, 40);
    EXPECT_EQ(text.substr(text.size() - 9), "x kB/sec)");
}

TEST(FormatUserMessage, StaysInsideASmallBuffer) {
    std::string out(32, '\x7f');
    EXPECT_EQ(FormatUserMessage(NULL, Message(IDS_UNABLE_TO_OPEN, "C:\\a.img"), &out[0], 10), 9);
    EXPECT_STREQ(out.c_str(), "Unable to");
    EXPECT_EQ(out.substr(10), std::string(22, '\x7f'));
    EXPECT_EQ(FormatUserMessage(NULL, Message(IDS_UNABLE_TO_OPEN), &out[0], 0), 0);
}

// What the resource compiler made of each entry, read back the way the program reads
// it, against the script's own wording.
TEST(StringTableAsLoaded, EveryEntryLoadsAsWritten) {
    const StringTableSource source = LoadStringTableSource();
    ASSERT_FALSE(source.texts.empty());
    for (const auto& [id, expected] : source.texts) {
        char loaded[kMessageTextSize] = "";
        EXPECT_GT(LoadStringA(GetModuleHandleA(NULL), id, loaded, sizeof loaded), 0) << id;
        EXPECT_EQ(std::string(loaded), expected) << id;
    }
}

// --- Boxes on screen -----------------------------------------------------------------

struct BoxSeen {
    bool found = false;
    std::string caption;
    std::string text;
    bool ok = false, yes = false, no = false;
    HICON icon = NULL;
    bool ownerDisabled = false;
};

BOOL CALLBACK FindVisibleBox(HWND window, LPARAM result) {
    char name[32] = "";
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(result) = window;
    return FALSE;
}

void ReadBox(HWND box, HWND owner, BoxSeen& seen) {
    seen.found = true;
    char caption[256] = "";
    GetWindowTextA(box, caption, sizeof caption);
    seen.caption = caption;
    seen.ok = GetDlgItem(box, IDOK) != NULL;
    seen.yes = GetDlgItem(box, IDYES) != NULL;
    seen.no = GetDlgItem(box, IDNO) != NULL;
    seen.ownerDisabled = owner != NULL && !IsWindowEnabled(owner);
    const MessageBoxContent content = ReadMessageBoxContent(box);
    seen.text = content.text;
    seen.icon = content.icon;
}

struct ShowJob {
    MessageBoxSink* sink;
    UserMessage message;
    MessageAnswer answer;
};

DWORD WINAPI ShowOnWorker(LPVOID parameter) {
    ShowJob& job = *static_cast<ShowJob*>(parameter);
    job.answer = job.sink->Show(job.message);
    return 0;
}

// Shows the message from a worker thread while this thread pumps messages, as the main
// dialog does while a job runs; presses `button` in the box once it is visible.
MessageAnswer ShowAndPress(MessageBoxSink& sink, const UserMessage& message, int button, HWND owner,
                           BoxSeen& seen) {
    ShowJob job{&sink, message, MessageAnswer::Ok};
    DWORD threadId = 0;
    HANDLE thread = CreateThread(NULL, 0, ShowOnWorker, &job, 0, &threadId);
    EXPECT_NE(thread, nullptr);
    if (!thread) return MessageAnswer::Ok;
    const DWORD start = GetTickCount();
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, 20, QS_ALLINPUT) != WAIT_OBJECT_0) {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        HWND box = NULL;
        EnumThreadWindows(threadId, FindVisibleBox, reinterpret_cast<LPARAM>(&box));
        if (box && !seen.found) {
            ReadBox(box, owner, seen);
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        }
        if (GetTickCount() - start > 15000) {
            ADD_FAILURE() << "the box did not end";
            TerminateThread(thread, 1);
            break;
        }
    }
    CloseHandle(thread);
    return job.answer;
}

struct BoxCase {
    const char* name;
    MessageStyle style;
    int press;
    LPCSTR icon;
    bool question;
    MessageAnswer answer;
};

class MessageBoxSinkBoxes : public ::testing::TestWithParam<BoxCase> {
protected:
    void SetUp() override {
        owner_ = CreateWindowA("STATIC", "owner", WS_OVERLAPPED, 0, 0, 100, 100, NULL, NULL,
                               GetModuleHandleA(NULL), NULL);
        ASSERT_NE(owner_, nullptr);
    }
    void TearDown() override {
        if (owner_) DestroyWindow(owner_);
    }
    HWND owner_ = NULL;
};

TEST_P(MessageBoxSinkBoxes, ShowsTheStyleAndAnswersFromAWorkerThread) {
    const BoxCase& c = GetParam();
    MessageBoxSink sink(owner_);
    UserMessage message = Message(IDS_UNABLE_TO_OPEN, "C:\\x.img");
    message.style = c.style;
    BoxSeen seen;

    EXPECT_EQ(ShowAndPress(sink, message, c.press, owner_, seen), c.answer);

    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.caption, "Vorlix");
    EXPECT_EQ(seen.text, "Unable to open C:\\x.img");
    EXPECT_EQ(seen.ok, !c.question);
    EXPECT_EQ(seen.yes, c.question);
    EXPECT_EQ(seen.no, c.question);
    EXPECT_EQ(seen.icon, LoadIconA(NULL, c.icon));
    EXPECT_TRUE(seen.ownerDisabled) << "the box is not owned by the window";
    EXPECT_TRUE(IsWindowEnabled(owner_));
}

INSTANTIATE_TEST_SUITE_P(
    Styles, MessageBoxSinkBoxes,
    ::testing::Values(BoxCase{"Error", MessageStyle::Error, IDOK, IDI_HAND, false, MessageAnswer::Ok},
                      BoxCase{"Warning", MessageStyle::Warning, IDOK, IDI_EXCLAMATION, false, MessageAnswer::Ok},
                      BoxCase{"Information", MessageStyle::Information, IDOK, IDI_ASTERISK, false,
                              MessageAnswer::Ok},
                      BoxCase{"QuestionYes", MessageStyle::Question, IDYES, IDI_QUESTION, true,
                              MessageAnswer::Yes},
                      BoxCase{"QuestionNo", MessageStyle::Question, IDNO, IDI_QUESTION, true,
                              MessageAnswer::No}),
    [](const ::testing::TestParamInfo<BoxCase>& param) { return std::string(param.param.name); });

// A job may outlive the window it was given; its message must still be seen.
TEST(MessageBoxSinkOwner, ShowsTheBoxWhenTheOwnerIsGone) {
    HWND owner = CreateWindowA("STATIC", "owner", WS_OVERLAPPED, 0, 0, 100, 100, NULL, NULL,
                               GetModuleHandleA(NULL), NULL);
    ASSERT_NE(owner, nullptr);
    DestroyWindow(owner);
    MessageBoxSink sink(owner);
    UserMessage message = Message(IDS_IMAGE_WRITE_FAILED);
    BoxSeen seen;

    EXPECT_EQ(ShowAndPress(sink, message, IDOK, NULL, seen), MessageAnswer::Ok);

    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.text, "Failed to write image file");
}

}  // namespace
