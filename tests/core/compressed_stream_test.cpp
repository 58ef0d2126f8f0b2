#include "engine/image/compressed_stream.h"

#include <gtest/gtest.h>

#include <stdio.h>

#include <string>

#include "tests/support/binary_data.h"
#include "tests/support/temp_dir.h"

namespace {

// Opens `bytes` as a file and runs the search on it; `*position` is where the stream
// was left when found.
int Search(const std::string& bytes, long* position) {
    TempDir dir;
    const std::string path = dir.File("image.exe");
    WriteWholeFile(path, bytes);
    FILE* file = fopen(path.c_str(), "rb");
    if (file == nullptr) {
        ADD_FAILURE() << "cannot open " << path;
        return -2;
    }
    fseek(file, 100, SEEK_SET);  // the search starts at the beginning wherever the file is
    const int result = FindCompressedStream(file);
    *position = ftell(file);
    fclose(file);
    return result;
}

// Filler that holds no 'B', so that the signature cannot start in it by chance.
std::string Filler(size_t size) {
    std::string bytes = BinaryTestData(size, 21);
    for (char& c : bytes) {
        if (c == 'B') c = 'b';
    }
    return bytes;
}

}  // namespace

// The whole signature must lie within the first 524,288 bytes.
TEST(CompressedStream, FoundOnlyWithinTheSearchLimit) {
    struct Case {
        long offset;
        bool found;
    };
    const long limit = kCompressedStreamSearchLimit;
    const Case cases[] = {
        {0, true},          {1, true},           {81920, true},
        {limit - 8, true},  {limit - 7, true},   {limit - 6, false},
        {limit - 1, false}, {limit, false},      {limit + 1, false},
        {600000, false},
    };
    const std::string signature = CompressedStreamSignatureBytes();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offset);
        long position = -1;
        const int result = Search(Filler(static_cast<size_t>(c.offset)) + signature + Filler(3000), &position);
        if (c.found) {
            EXPECT_EQ(result, 0);
            EXPECT_EQ(position, c.offset);
        } else {
            EXPECT_EQ(result, -1);
        }
    }
}

TEST(CompressedStream, OverlappingPartialMatchesDoNotHideTheSignature) {
    const std::string s = CompressedStreamSignatureBytes();
    struct Case {
        std::string bytes;
        long expected;
    };
    const Case cases[] = {
        {"BZ" + s, 2},
        {"BBZ" + s, 3},
        {"BZh9" + s, 4},
        {s.substr(0, 6) + s + "tail", 6},
        {s.substr(0, 6) + "\x0D\x0A" + s, 8},
        {"B" + s.substr(0, 3) + s, 4},
        {s + s, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        long position = -1;
        EXPECT_EQ(Search(Filler(200) + c.bytes, &position), 0);
        EXPECT_EQ(position, 200 + c.expected);
    }
}

TEST(CompressedStream, NoSignatureNoStream) {
    const std::string s = CompressedStreamSignatureBytes();
    const std::string cases[] = {
        "",
        "BZh9",
        Filler(70000),
        Filler(70000) + s.substr(0, 6),         // cut off by the end of the file
        Filler(70000) + s.substr(0, 6) + "\x1A" + s.substr(6),
        std::string("BZh91AX"),
    };
    for (const std::string& bytes : cases) {
        SCOPED_TRACE(bytes.size());
        long position = -1;
        EXPECT_EQ(Search(bytes, &position), -1);
    }
}

TEST(CompressedStream, NoFileNoStream) {
    EXPECT_EQ(FindCompressedStream(nullptr), -1);
}
