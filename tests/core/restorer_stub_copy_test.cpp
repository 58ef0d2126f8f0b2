#include "engine/image/restorer_stub_copy.h"

#include <gtest/gtest.h>

#include <stdio.h>

#include <string>

#include "tests/support/binary_data.h"
#include "tests/support/temp_dir.h"

namespace {

struct CopyOutcome {
    int result;
    bool outputOpen;
};

// Runs the copy, then writes `payload` through the stream it left open, as the
// compressor would, and closes it.
CopyOutcome Copy(const std::string& program, const std::string& output,
                 const std::string& payload = "") {
    char buffer[kStubCopyPiece];
    // Something the copy must replace on every path.
    FILE* const untouched = reinterpret_cast<FILE*>(buffer);
    FILE* file = untouched;
    const int result = CopyRestorerStub(program.c_str(), output.c_str(), buffer, &file);
    if (file == untouched) {
        ADD_FAILURE() << "the output stream was left unset";
        return {result, false};
    }
    const bool open = file != nullptr;
    if (open) {
        EXPECT_EQ(fwrite(payload.data(), 1, payload.size(), file), payload.size());
        EXPECT_EQ(fclose(file), 0);
    }
    return {result, open};
}

// The main program's own header at its start carries the signature too; it must be
// passed over.
std::string ProgramHead(size_t size) {
    std::string head = RestorerStubSignatureBytes() + BinaryTestData(size, 11);
    head.resize(size);
    return head;
}

}  // namespace

TEST(RestorerStubCopy, CopiesFromTheStubHeaderToTheEndAndStaysOpen) {
    struct Case {
        const char* name;
        size_t headSize;   // program bytes before the stub
        size_t stubTail;   // stub bytes after its signature
    };
    const Case cases[] = {
        {"StubRightAt1024", 1024, 16 * 100},
        {"StubFurtherIn", 50000, 16 * 100 + 5},
        {"ShorterThanOnePiece", 4096, 3},
        {"SignatureOnly", 4096, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string stub = RestorerStubSignatureBytes() + BinaryTestData(c.stubTail, 12);
        WriteWholeFile(dir.File("vorlix.exe"), ProgramHead(c.headSize) + stub);
        const std::string payload = BinaryTestData(777, 13);

        const CopyOutcome outcome = Copy(dir.File("vorlix.exe"), dir.File("disk.exe"), payload);
        EXPECT_EQ(outcome.result, kStubCopied);
        EXPECT_TRUE(outcome.outputOpen);
        EXPECT_EQ(ReadWholeFile(dir.File("disk.exe")), stub + payload);
    }
}

// Partial signatures, one starting before offset 1024 and running past it, and a second
// stub behind the first: the copy starts at the first whole signature from 1024 on.
TEST(RestorerStubCopy, StartsAtTheFirstWholeSignatureFrom1024) {
    TempDir dir;
    const std::string signature = RestorerStubSignatureBytes();
    std::string head = ProgramHead(1020) + signature.substr(0, 4);  // straddles 1024
    head += signature.substr(4) + "pad";
    head += signature.substr(0, 6) + "\x01";    // all but the last byte
    head += signature.substr(0, 1);             // a lone first byte right before the real one
    const std::string stub = signature + BinaryTestData(333, 14) + signature + "second";
    WriteWholeFile(dir.File("vorlix.exe"), head + stub);

    EXPECT_EQ(Copy(dir.File("vorlix.exe"), dir.File("disk.exe")).result, kStubCopied);
    EXPECT_EQ(ReadWholeFile(dir.File("disk.exe")), stub);
}

TEST(RestorerStubCopy, WithoutStubTheOutputIsCreatedEmpty) {
    for (size_t size : {size_t{0}, size_t{1000}, size_t{70000}}) {
        SCOPED_TRACE(size);
        TempDir dir;
        WriteWholeFile(dir.File("vorlix.exe"), ProgramHead(size));
        WriteWholeFile(dir.File("disk.exe"), "old contents");

        const CopyOutcome outcome = Copy(dir.File("vorlix.exe"), dir.File("disk.exe"), "payload");
        EXPECT_EQ(outcome.result, kStubCopied);
        EXPECT_TRUE(outcome.outputOpen);
        EXPECT_EQ(ReadWholeFile(dir.File("disk.exe")), "payload");
    }
}

TEST(RestorerStubCopy, MissingProgramFileCreatesNothing) {
    TempDir dir;
    const CopyOutcome outcome = Copy(dir.File("gone.exe"), dir.File("disk.exe"));
    EXPECT_EQ(outcome.result, kStubProgramNotOpened);
    EXPECT_FALSE(outcome.outputOpen);
    EXPECT_FALSE(FileExists(dir.File("disk.exe")));
}

TEST(RestorerStubCopy, UncreatableOutputIsReported) {
    TempDir dir;
    WriteWholeFile(dir.File("vorlix.exe"), ProgramHead(2048) + RestorerStubSignatureBytes());
    const CopyOutcome outcome = Copy(dir.File("vorlix.exe"), dir.File("no/such/folder/disk.exe"));
    EXPECT_EQ(outcome.result, kStubOutputNotCreated);
    EXPECT_FALSE(outcome.outputOpen);
}

#ifndef _WIN32
#include "tests/support/file_size_limit.h"

// A stub cut short by a full disk would make an image that cannot restore itself.
TEST(RestorerStubCopy, StubThatDoesNotFitIsNotLeftBehind) {
    TempDir dir;
    WriteWholeFile(dir.File("vorlix.exe"),
                   ProgramHead(2048) + RestorerStubSignatureBytes() + BinaryTestData(20000, 15));
    CopyOutcome outcome{};
    {
        FileSizeLimit full(5000);
        ASSERT_TRUE(full.active());
        outcome = Copy(dir.File("vorlix.exe"), dir.File("disk.exe"));
    }
    EXPECT_EQ(outcome.result, kStubOutputNotCreated);
    EXPECT_FALSE(outcome.outputOpen);
    EXPECT_FALSE(FileExists(dir.File("disk.exe")));
}
#endif
