// WinINet bound at run time: all of it or nothing, and the Internet test over it.
#include "online/internet_check_win32.h"
#include "online/wininet_api_win32.h"
#include "online/wininet_canonicalizer_win32.h"

#include <gtest/gtest.h>

#include <string>

#include "online/form_encoding.h"
#include "tests/support/canonicalize_cases.h"
#include "tests/support/recording_sink.h"

namespace {

bool NoneBound(const WinInet& w) {
    return !w.Bound() && !w.InternetGetConnectedState && !w.InternetOpenA && !w.InternetConnectA &&
           !w.HttpOpenRequestA && !w.HttpSendRequestA && !w.HttpAddRequestHeadersA && !w.HttpSendRequestExA &&
           !w.InternetWriteFile && !w.HttpEndRequestA && !w.HttpQueryInfoA && !w.InternetReadFile && !w.InternetCloseHandle &&
           !w.InternetCanonicalizeUrlA;
}

TEST(WinInetBinding, BindsEveryFunctionOfTheSystemLibrary) {
    WinInet wininet;
    ASSERT_TRUE(wininet.Bind());
    EXPECT_TRUE(wininet.Bound());
    EXPECT_TRUE(wininet.InternetGetConnectedState && wininet.InternetOpenA && wininet.InternetConnectA &&
                wininet.HttpOpenRequestA && wininet.HttpSendRequestA && wininet.HttpAddRequestHeadersA &&
                wininet.HttpSendRequestExA && wininet.InternetWriteFile && wininet.HttpEndRequestA && wininet.HttpQueryInfoA &&
                wininet.InternetReadFile && wininet.InternetCloseHandle && wininet.InternetCanonicalizeUrlA);
    EXPECT_TRUE(wininet.Bind());
}

TEST(WinInetBinding, MissingLibraryBindsNothing) {
    WinInet wininet;
    EXPECT_FALSE(wininet.Bind("vorlix-no-such-library.dll"));
    EXPECT_TRUE(NoneBound(wininet));
}

TEST(WinInetBinding, LibraryWithoutTheFunctionsBindsNothing) {
    // KERNEL32 is there but has none of them: an Internet Explorer too old for the program.
    WinInet wininet;
    EXPECT_FALSE(wininet.Bind("KERNEL32.DLL"));
    EXPECT_TRUE(NoneBound(wininet));
}

TEST(InternetCheck, PassesWhereWinINetReportsAConnection) {
    // Wine's InternetGetConnectedState answers TRUE, with or without a network.
    RecordingSink sink;
    EXPECT_EQ(InternetCheck(sink), 0);
    EXPECT_TRUE(sink.shown.empty());
    EXPECT_TRUE(TheWinInet().Bound());
}

// The table the emulation is held to, against the real call.
class WinInetCanonicalizerTest : public ::testing::TestWithParam<CanonicalizeCase> {
protected:
    void SetUp() override { ASSERT_TRUE(TheWinInet().Bind()); }
    const WinInetCanonicalizer canonicalizer_;
};

std::string CaseName(const ::testing::TestParamInfo<CanonicalizeCase>& p) { return p.param.name; }

class WinInetCanonicalFormTest : public WinInetCanonicalizerTest {};

TEST_P(WinInetCanonicalFormTest, AnswersAsTheEmulationDoes) {
    std::string canonical;
    ASSERT_TRUE(canonicalizer_.Canonicalize(GetParam().text, canonical));
    EXPECT_EQ(canonical, GetParam().canonical);
}

INSTANTIATE_TEST_SUITE_P(Texts, WinInetCanonicalFormTest, ::testing::ValuesIn(PinnedCanonicalizeCases()),
                         CaseName);

TEST_P(WinInetCanonicalizerTest, FormValue) {
    EXPECT_EQ(EncodeFormValue(canonicalizer_, GetParam().text), GetParam().encoded);
}

INSTANTIATE_TEST_SUITE_P(Texts, WinInetCanonicalizerTest, ::testing::ValuesIn(kCanonicalizeCases), CaseName);

TEST(WinInetCanonicalizer, LongTextNeedsTheSecondCall) {
    ASSERT_TRUE(TheWinInet().Bind());
    const std::string text(5000, 'a');
    std::string canonical;
    ASSERT_TRUE(WinInetCanonicalizer().Canonicalize(text + " b", canonical));
    EXPECT_EQ(canonical, text + "%20b");
}

}  // namespace
