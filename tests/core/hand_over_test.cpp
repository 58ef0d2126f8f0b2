#include "app/hand_over.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct BlockCase {
    const char* name;
    std::string bytes;  // the whole buffer, which may reach beyond the block
    size_t size;        // the block's stated size
    std::optional<std::string> expected;
};

std::ostream& operator<<(std::ostream& out, const BlockCase& c) { return out << c.name; }

class HandedOverBlock : public testing::TestWithParam<BlockCase> {};

TEST_P(HandedOverBlock, YieldsThePathOrNothing) {
    const BlockCase& c = GetParam();
    EXPECT_EQ(HandedOverImagePath(c.bytes.data(), c.size), c.expected);
}

const std::string kLongest(259, 'x');
const std::string kTooLong(260, 'x');

// The buffers hold a zero right behind the stated size where that matters: a reader that
// looked past the block would find it and accept the text.
INSTANTIATE_TEST_SUITE_P(
    Blocks, HandedOverBlock,
    testing::Values(
        BlockCase{"image", std::string("C:\\disks\\boot.imz\0", 19), 19, "C:\\disks\\boot.imz"},
        BlockCase{"bytes_after_the_zero_are_ignored", std::string("a.img\0junk", 10), 10, "a.img"},
        BlockCase{"no_zero_within_the_block", std::string("a.img\0", 6), 5, std::nullopt},
        BlockCase{"zero_only_beyond_the_block", std::string("a.img\0", 6), 3, std::nullopt},
        BlockCase{"empty_text", std::string("\0", 1), 1, std::nullopt},
        BlockCase{"empty_block", std::string("a.img\0", 6), 0, std::nullopt},
        BlockCase{"longest_path", kLongest + '\0', 260, kLongest},
        BlockCase{"path_too_long", kTooLong + '\0', 261, std::nullopt},
        BlockCase{"text_other_than_an_image_is_the_receivers_to_refuse",
                  std::string("/W\0", 3), 3, "/W"}),
    [](const testing::TestParamInfo<BlockCase>& row) { return std::string(row.param.name); });

TEST(HandedOverBlock, NullDataIsNoImage) {
    EXPECT_EQ(HandedOverImagePath(nullptr, 0), std::nullopt);
    EXPECT_EQ(HandedOverImagePath(nullptr, 12), std::nullopt);
}

}  // namespace
