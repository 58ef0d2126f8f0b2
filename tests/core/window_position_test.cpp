#include "app/window_position.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/registry_names.h"
#include "tests/support/memory_registry.h"

namespace {

constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;

struct StoredCase {
    const char* label;
    bool stored;  // false: no values at all
    uint32_t horizPos;
    uint32_t vertPos;
    bool moves;
    int32_t left;
    int32_t top;
};

class StoredPosition : public testing::TestWithParam<StoredCase> {};

}  // namespace

TEST_P(StoredPosition, MovesOnlyWhenBothAreNonZero) {
    const StoredCase& c = GetParam();
    MemoryRegistry registry;
    if (c.stored) {
        registry.PutDword(kUser, kInitKeyPath, kHorizPosValue, c.horizPos);
        registry.PutDword(kUser, kInitKeyPath, kVertPosValue, c.vertPos);
    }
    MemoryRegistryKey key(registry);
    const std::optional<WindowCorner> corner = ReadWindowPosition(key);
    ASSERT_EQ(corner.has_value(), c.moves);
    if (c.moves) {
        EXPECT_EQ(corner->left, c.left);
        EXPECT_EQ(corner->top, c.top);
    }
    const std::vector<std::string> expected = {"Create CU Software\\Quendal Software\\Vorlix\\Init",
                                               "QueryDword HorizPos", "QueryDword VertPos",
                                               "Close"};
    EXPECT_EQ(registry.log, expected);
}

INSTANTIATE_TEST_SUITE_P(
    ReadWindowPosition, StoredPosition,
    testing::Values(StoredCase{"FreshProfile", false, 0, 0, false, 0, 0},
                    StoredCase{"Both", true, 120, 80, true, 120, 80},
                    StoredCase{"LeftEdgeAtZero", true, 0, 80, false, 0, 0},
                    StoredCase{"TopEdgeAtZero", true, 120, 0, false, 0, 0},
                    StoredCase{"BothZero", true, 0, 0, false, 0, 0},
                    StoredCase{"MonitorToTheLeft", true, 0xFFFFFB00u, 10, true, -1280, 10},
                    StoredCase{"MonitorAbove", true, 10, 0xFFFFFC18u, true, 10, -1000}),
    [](const testing::TestParamInfo<StoredCase>& tc) { return std::string(tc.param.label); });

TEST(ReadWindowPosition, OneValueMissingStaysPut) {
    MemoryRegistry registry;
    registry.PutDword(kUser, kInitKeyPath, kHorizPosValue, 300);
    MemoryRegistryKey key(registry);
    EXPECT_FALSE(ReadWindowPosition(key).has_value());
}

TEST(ReadWindowPosition, AValueTooLongToReadStaysPut) {
    MemoryRegistry registry;
    registry.PutDword(kUser, kInitKeyPath, kHorizPosValue, 300);
    registry.PutString(kUser, kInitKeyPath, kVertPosValue, "200");  // 4 bytes: read as a number
    MemoryRegistryKey key(registry);
    EXPECT_TRUE(ReadWindowPosition(key).has_value());
    registry.PutString(kUser, kInitKeyPath, kVertPosValue, "2000");
    EXPECT_FALSE(ReadWindowPosition(key).has_value());
}

TEST(WriteWindowPosition, WritesTopThenLeft) {
    MemoryRegistry registry;
    MemoryRegistryKey key(registry);
    WindowCorner corner;
    corner.left = 640;
    corner.top = 25;
    WriteWindowPosition(key, corner);
    const std::vector<std::string> expected = {"Create CU Software\\Quendal Software\\Vorlix\\Init",
                                               "SetDword VertPos=25", "SetDword HorizPos=640",
                                               "Close"};
    EXPECT_EQ(registry.log, expected);
    EXPECT_FALSE(key.IsHolding());
}

TEST(WriteWindowPosition, WhatIsWrittenReadsBack) {
    for (const WindowCorner& saved :
         {WindowCorner{1, 1}, WindowCorner{-1920, 40}, WindowCorner{3000, -5}}) {
        MemoryRegistry registry;
        MemoryRegistryKey key(registry);
        WriteWindowPosition(key, saved);
        const std::optional<WindowCorner> loaded = ReadWindowPosition(key);
        ASSERT_TRUE(loaded.has_value());
        EXPECT_EQ(loaded->left, saved.left);
        EXPECT_EQ(loaded->top, saved.top);
    }
}
