#include "online/internet_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/string_ids.h"
#include "tests/support/recording_sink.h"

namespace {

class FakeInternet final : public InternetPresence {
public:
    FakeInternet(bool bound, bool connected) : bound_(bound), connected_(connected) {}
    bool Bind() override {
        calls.push_back("Bind");
        return bound_;
    }
    bool Connected() override {
        calls.push_back("Connected");
        return connected_;
    }
    std::vector<std::string> calls;

private:
    bool bound_;
    bool connected_;
};

TEST(InternetCheck, GoesOnWhenBoundAndConnected) {
    FakeInternet internet(true, true);
    RecordingSink sink;
    EXPECT_EQ(InternetCheck(internet, sink), 0);
    EXPECT_TRUE(sink.shown.empty());
}

TEST(InternetCheck, MissingLibraryAsksForNothingElse) {
    FakeInternet internet(false, true);
    RecordingSink sink;
    EXPECT_EQ(InternetCheck(internet, sink), -1);
    EXPECT_EQ(internet.calls, std::vector<std::string>{"Bind"});
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].id, unsigned{IDS_NEEDS_NEWER_INTERNET_EXPLORER});
    EXPECT_EQ(sink.shown[0].style, MessageStyle::Information);
}

TEST(InternetCheck, Offline) {
    FakeInternet internet(true, false);
    RecordingSink sink;
    EXPECT_EQ(InternetCheck(internet, sink), -1);
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].id, unsigned{IDS_NOT_CONNECTED});
    EXPECT_EQ(sink.shown[0].style, MessageStyle::Information);
}

}  // namespace
