#include "engine/image/sha256_digest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

struct KnownAnswer {
    const char* name;
    std::string message;
    const char* digest;
};

std::ostream& operator<<(std::ostream& out, const KnownAnswer& answer) { return out << answer.name; }

// The standard's examples (FIPS 180-2, appendix B) and the empty message.
const KnownAnswer kKnownAnswers[] = {
    {"Empty", "", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
    {"OneBlock", "abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
    {"TwoBlocks", "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
     "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
    {"AMillionAs", std::string(1000000, 'a'),
     "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
};

class Sha256KnownAnswer : public testing::TestWithParam<KnownAnswer> {};

TEST_P(Sha256KnownAnswer, InOnePiece) {
    char hex[Sha256Digest::kHexLength + 1];
    Sha256Hex(GetParam().message.data(), GetParam().message.size(), hex);
    EXPECT_STREQ(hex, GetParam().digest);
}

// The jobs feed a disk in transfer units whose edges fall anywhere in a block.
TEST_P(Sha256KnownAnswer, InPiecesOfEverySize) {
    const std::string& message = GetParam().message;
    for (size_t piece : {size_t{1}, size_t{3}, size_t{63}, size_t{64}, size_t{65}, size_t{10240}}) {
        if (message.size() > 100000 && piece < 63) continue;
        Sha256Digest digest;
        for (size_t at = 0; at < message.size(); at += piece) {
            digest.Update(message.data() + at, std::min(piece, message.size() - at));
        }
        char hex[Sha256Digest::kHexLength + 1];
        digest.FinishHex(hex);
        EXPECT_STREQ(hex, GetParam().digest) << "pieces of " << piece;
    }
}

INSTANTIATE_TEST_SUITE_P(Standard, Sha256KnownAnswer, testing::ValuesIn(kKnownAnswers),
                         [](const testing::TestParamInfo<KnownAnswer>& param) { return std::string(param.param.name); });

TEST(Sha256Digest, FinishingBeginsANewDigest) {
    Sha256Digest digest;
    digest.Update("abc", 3);
    char first[Sha256Digest::kHexLength + 1];
    digest.FinishHex(first);
    digest.Update("abc", 3);
    char second[Sha256Digest::kHexLength + 1];
    digest.FinishHex(second);
    EXPECT_STREQ(first, second);
}

TEST(Sha256Digest, ResetForgetsWhatWasFed) {
    Sha256Digest digest;
    digest.Update("something else", 14);
    digest.Reset();
    char hex[Sha256Digest::kHexLength + 1];
    digest.FinishHex(hex);
    EXPECT_STREQ(hex, kKnownAnswers[0].digest);
}

}  // namespace
