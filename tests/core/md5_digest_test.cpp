#include "engine/image/md5_digest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

// RFC 1321's test suite, and a message long enough to cross many blocks.
struct Md5Answer {
    std::string message;
    const char* digest;
};

const Md5Answer kMd5Answers[] = {
    {"", "d41d8cd98f00b204e9800998ecf8427e"},
    {"abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "57edf4a22be3c955ac49da2e2107b67a"},
    {std::string(1000000, 'a'), "7707d6ae4e027c70eea2a935c2296f21"},
};

TEST(Md5Digest, KnownAnswersWholeAndInPieces) {
    for (const Md5Answer& answer : kMd5Answers) {
        char hex[Md5Digest::kHexLength + 1];
        Md5Hex(answer.message.data(), answer.message.size(), hex);
        EXPECT_STREQ(hex, answer.digest) << answer.message.size() << " bytes";
        for (size_t piece : {size_t{1}, size_t{63}, size_t{64}, size_t{65}, size_t{10240}}) {
            if (answer.message.size() > 100000 && piece < 63) continue;
            Md5Digest digest;
            for (size_t at = 0; at < answer.message.size(); at += piece) {
                digest.Update(answer.message.data() + at, std::min(piece, answer.message.size() - at));
            }
            digest.FinishHex(hex);
            EXPECT_STREQ(hex, answer.digest) << "pieces of " << piece;
        }
    }
}

TEST(Md5Digest, FinishingBeginsANewDigest) {
    Md5Digest digest;
    digest.Update("abc", 3);
    char first[Md5Digest::kHexLength + 1];
    digest.FinishHex(first);
    digest.Update("abc", 3);
    char second[Md5Digest::kHexLength + 1];
    digest.FinishHex(second);
    EXPECT_STREQ(first, second);
}

}  // namespace
