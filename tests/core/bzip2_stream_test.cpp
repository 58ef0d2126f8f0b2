#include "engine/image/bzip2_stream.h"

#include <gtest/gtest.h>

#include <stdio.h>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <string>

#include "engine/image/compressed_stream.h"
#include "engine/image/image_trailer.h"
#include "tests/support/binary_data.h"
#include "tests/support/temp_dir.h"

namespace {

const size_t kDiskBytes = 1474560;
const size_t kTransferUnit = 18 * 512 * 2;  // one cylinder of a 1440 kB disk

// Compresses `data` into `path` through the writer, unit by unit, as the read job does.
void Compress(const std::string& path, const std::string& data, const std::string& front = "") {
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(fwrite(front.data(), 1, front.size(), file), front.size());
    Bzip2Writer writer;
    ASSERT_EQ(writer.Open(file), 0);
    for (size_t at = 0; at < data.size(); at += kTransferUnit) {
        const size_t size = std::min(kTransferUnit, data.size() - at);
        ASSERT_EQ(writer.Write(data.data() + at, static_cast<int>(size)), 0);
    }
    ASSERT_EQ(writer.Finish(), 0);
    ASSERT_EQ(fclose(file), 0);
}

struct Decompressed {
    std::string data;
    Bzip2ReadStatus last;  // the status that ended the reading
};

// Reads chunks from the file's current position until anything but Data comes back.
Decompressed DecompressFrom(FILE* file) {
    Decompressed out{"", Bzip2ReadStatus::IoError};
    Bzip2Reader reader;
    if (reader.Open(file) != 0) {
        ADD_FAILURE() << "the reader did not open";
        return out;
    }
    static char buffer[kBzip2ReadChunk];
    for (int chunks = 0; chunks < 1000; ++chunks) {
        int count = -1;
        out.last = reader.Read(buffer, &count);
        if (out.last != Bzip2ReadStatus::Data) {
            EXPECT_EQ(count, 0);
            return out;
        }
        EXPECT_GT(count, 0);
        EXPECT_LE(count, kBzip2ReadChunk);
        out.data.append(buffer, static_cast<size_t>(count));
    }
    ADD_FAILURE() << "the stream did not end";
    return out;
}

Decompressed Decompress(const std::string& path) {
    FILE* file = fopen(path.c_str(), "rb");
    if (file == nullptr) {
        ADD_FAILURE() << "cannot open " << path;
        return {"", Bzip2ReadStatus::IoError};
    }
    Decompressed out = DecompressFrom(file);
    fclose(file);
    return out;
}

}  // namespace

TEST(Bzip2Stream, WholeDiskRoundTripStopsBeforeTheTrailer) {
    TempDir dir;
    const std::string path = dir.File("disk.imz");
    const std::string disk = BinaryTestData(kDiskBytes, 31);
    Compress(path, disk);
    ASSERT_EQ(AppendImageTrailer(path.c_str(), "round trip", 18), 0);

    EXPECT_EQ(ReadWholeFile(path).substr(0, 7), CompressedStreamSignatureBytes());
    const Decompressed out = Decompress(path);
    EXPECT_EQ(out.last, Bzip2ReadStatus::End);
    EXPECT_TRUE(out.data == disk) << "decompressed " << out.data.size() << " bytes";
}

TEST(Bzip2Stream, SelfExtractingPayloadIsFoundAndRead) {
    TempDir dir;
    const std::string path = dir.File("disk.exe");
    const std::string stub = RestorerStubSignatureBytes() + BinaryTestData(81913, 32);
    const std::string disk = BinaryTestData(737280, 33);
    Compress(path, disk, stub);
    ASSERT_EQ(AppendImageTrailer(path.c_str(), "sfx", 9), 0);

    FILE* file = fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(FindCompressedStream(file), 0);
    EXPECT_EQ(ftell(file), static_cast<long>(stub.size()));
    const Decompressed out = DecompressFrom(file);
    fclose(file);
    EXPECT_EQ(out.last, Bzip2ReadStatus::End);
    EXPECT_TRUE(out.data == disk);
}

TEST(Bzip2Stream, EndIsAnsweredAgainAfterTheLastBytes) {
    TempDir dir;
    const std::string path = dir.File("small.imz");
    Compress(path, "\x0D\x0A\x1A tiny");
    FILE* file = fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    {
        Bzip2Reader reader;
        ASSERT_EQ(reader.Open(file), 0);
        char buffer[kBzip2ReadChunk];
        int count = 0;
        EXPECT_EQ(reader.Read(buffer, &count), Bzip2ReadStatus::Data);
        EXPECT_EQ(std::string(buffer, static_cast<size_t>(count)), "\x0D\x0A\x1A tiny");
        EXPECT_EQ(reader.Read(buffer, &count), Bzip2ReadStatus::End);
        EXPECT_EQ(reader.Read(buffer, &count), Bzip2ReadStatus::End);
        EXPECT_EQ(count, 0);
    }
    fclose(file);
}

TEST(Bzip2Stream, EmptyStreamEndsAtOnce) {
    TempDir dir;
    const std::string path = dir.File("empty.imz");
    Compress(path, "");
    const Decompressed out = Decompress(path);
    EXPECT_EQ(out.last, Bzip2ReadStatus::End);
    EXPECT_EQ(out.data, "");
}

// Damage must never look like a regular end: the write job would report success for a
// disk written only up to the damage.
TEST(Bzip2Stream, DamagedStreamsAreToldApart) {
    TempDir dir;
    const std::string good = dir.File("good.imz");
    Compress(good, BinaryTestData(kDiskBytes, 34));
    const std::string stream = ReadWholeFile(good);
    ASSERT_GT(stream.size(), 100000u);
    const std::string trailer(kImageTrailerSize, '\0');

    struct Case {
        const char* name;
        std::string bytes;
    };
    std::string flippedMiddle = stream;
    flippedMiddle[stream.size() / 2] ^= 0x10;
    std::string flippedLate = stream;
    flippedLate[stream.size() - 20] ^= 0x01;
    std::string flippedMagic = stream;
    flippedMagic[1] ^= 0x01;
    const Case cases[] = {
        {"CutInHalf", stream.substr(0, stream.size() / 2)},
        {"CutInHalfThenTrailer", stream.substr(0, stream.size() / 2) + trailer},
        {"LastByteMissing", stream.substr(0, stream.size() - 1)},
        {"BitFlippedInTheMiddle", flippedMiddle},
        {"BitFlippedNearTheEnd", flippedLate},
        {"BadMagic", flippedMagic},
        {"NotBzip2AtAll", BinaryTestData(50000, 35)},
        {"EmptyFile", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.File(std::string(c.name) + ".imz");
        WriteWholeFile(path, c.bytes);
        EXPECT_EQ(Decompress(path).last, Bzip2ReadStatus::Damaged);
    }
}

namespace {

// Takes the descriptor from under an open stream, so that its next read fails.
void BreakDescriptor(FILE* file) {
#ifdef _WIN32
    _close(_fileno(file));
#else
    close(fileno(file));
#endif
}

}  // namespace

TEST(Bzip2Stream, UnreadableFileIsAnIoError) {
    TempDir dir;
    const std::string path = dir.File("lost.imz");
    Compress(path, BinaryTestData(100000, 36));
    FILE* file = fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    BreakDescriptor(file);
    EXPECT_EQ(DecompressFrom(file).last, Bzip2ReadStatus::IoError);
    fclose(file);  // fails on the closed descriptor; frees the stream all the same
}

TEST(Bzip2Stream, UnwritableFileFailsTheWriter) {
    TempDir dir;
    const std::string path = dir.File("read-only.imz");
    WriteWholeFile(path, "");
    FILE* file = fopen(path.c_str(), "rb");  // open, but not for writing
    ASSERT_NE(file, nullptr);
    const std::string disk = BinaryTestData(kDiskBytes, 37);
    bool failed = false;
    {
        Bzip2Writer writer;
        ASSERT_EQ(writer.Open(file), 0);
        for (size_t at = 0; at < disk.size() && !failed; at += kTransferUnit) {
            failed = writer.Write(disk.data() + at, static_cast<int>(kTransferUnit)) != 0;
        }
        if (!failed) {
            failed = writer.Finish() != 0;
        }
    }
    EXPECT_TRUE(failed);
    fclose(file);
}

TEST(Bzip2Stream, NoFileNoStream) {
    Bzip2Writer writer;
    EXPECT_EQ(writer.Open(nullptr), -1);
    EXPECT_EQ(writer.Finish(), -1);
    Bzip2Reader reader;
    EXPECT_EQ(reader.Open(nullptr), -1);
}

#ifndef _WIN32
#include "tests/support/file_size_limit.h"

// A small image is written out only when the stream is finished; a full disk then must
// not pass for a complete image.
TEST(Bzip2Stream, EndThatDoesNotFitFailsTheFinish) {
    TempDir dir;
    FILE* file = fopen(dir.File("full.imz").c_str(), "wb");
    ASSERT_NE(file, nullptr);
    const std::string data = BinaryTestData(1000, 38);
    int written = -2;
    int finished = -2;
    {
        FileSizeLimit full(10);
        ASSERT_TRUE(full.active());
        Bzip2Writer writer;
        ASSERT_EQ(writer.Open(file), 0);
        written = writer.Write(data.data(), static_cast<int>(data.size()));
        finished = writer.Finish();
    }
    fclose(file);
    EXPECT_EQ(written, 0);
    EXPECT_EQ(finished, -1);
}
#endif
