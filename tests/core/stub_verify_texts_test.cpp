// The restorer stub says what the program says about checksums, the verify pass, newer
// images and failing drives: its own string numbers, the program's texts.
#include <gtest/gtest.h>

#include <string>

#include "resources/string_ids.h"
#include "resources/stub_ids.h"
#include "stub/stub_messages.h"
#include "tests/support/string_table_source.h"
#include "tests/support/temp_dir.h"

namespace {

struct SharedText {
    unsigned programId;
    unsigned stubId;
};

class StubVerifyTexts : public ::testing::TestWithParam<SharedText> {};

TEST_P(StubVerifyTexts, MapsToAStubTextEqualToTheProgramsOwn) {
    const SharedText& c = GetParam();
    const UserMessage message{c.programId, MessageStyle::Error, "1440 kB", 0};
    EXPECT_EQ(StubMessageId(message, "A:"), c.stubId);

    const StringTableSource program = LoadStringTableSource();
    const StringTableSource stub = ParseStringTableSource(
        ReadWholeFile(std::string(VORLIX_SOURCE_DIR) + "/resources/stub_ids.h"),
        ReadWholeFile(std::string(VORLIX_SOURCE_DIR) + "/resources/stub.rc"));
    ASSERT_TRUE(program.texts.count(c.programId));
    ASSERT_TRUE(stub.texts.count(c.stubId)) << "no stub text " << c.stubId;
    EXPECT_EQ(stub.texts.at(c.stubId), program.texts.at(c.programId));
}

INSTANTIATE_TEST_SUITE_P(
    ChecksumAndVerify, StubVerifyTexts,
    ::testing::Values(SharedText{IDS_IMAGE_CHECKSUM_MISMATCH, IDS_STUB_IMAGE_CHECKSUM_MISMATCH},
                      SharedText{IDS_VERIFY_MISMATCH, IDS_STUB_VERIFY_MISMATCH},
                      SharedText{IDS_VERIFYING_FLOPPY, IDS_STUB_VERIFYING_FLOPPY}));

INSTANTIATE_TEST_SUITE_P(
    NewerImageAndFailingDrive, StubVerifyTexts,
    ::testing::Values(SharedText{IDS_NEWER_IMAGE_VERSION, IDS_STUB_NEWER_IMAGE_VERSION},
                      SharedText{IDS_DRIVE_NOT_READY, IDS_STUB_DRIVE_NOT_READY},
                      SharedText{IDS_IMAGE_TOO_LARGE, IDS_STUB_IMAGE_TOO_LARGE}));

}  // namespace
