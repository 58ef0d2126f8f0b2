#include "engine/job/job_fields.h"

#include "app/settings.h"

#include <gtest/gtest.h>

#include <string.h>

namespace {

TEST(MakeJobRequest, TakesTheImageOfItsKindTheFieldsAndTheSettings) {
    JobFields fields;
    fields.readImagePath = "c:\\out.imz";
    fields.writeImagePath = "c:\\in.img";
    fields.description = "Sample";
    fields.compressed = true;
    fields.commandLineMode = true;
    Settings settings;
    SelectDrive(settings, true);
    settings.Emergency = 1;
    settings.Compatible = 1;

    const JobRequest read = MakeJobRequest(JobKind::Read, fields, StartChoicesOf(settings));
    EXPECT_EQ(read.kind, JobKind::Read);
    EXPECT_STREQ(read.imagePath, "c:\\out.imz");
    EXPECT_STREQ(read.description, "Sample");
    EXPECT_STREQ(read.drive, "B:");
    EXPECT_TRUE(read.emergency);
    EXPECT_TRUE(read.compatible);

    settings = Settings();
    const JobRequest write = MakeJobRequest(JobKind::Write, fields, StartChoicesOf(settings));
    EXPECT_EQ(write.kind, JobKind::Write);
    EXPECT_STREQ(write.imagePath, "c:\\in.img");
    EXPECT_STREQ(write.drive, "A:");
    EXPECT_FALSE(write.emergency);
    EXPECT_FALSE(write.compatible);
}

TEST(MakeJobRequest, CutsTextsToTheRequestsBuffers) {
    JobFields fields;
    fields.description = std::string(400, 'd');
    fields.readImagePath = std::string(kLongestImagePath, 'p');
    const JobRequest read = MakeJobRequest(JobKind::Read, fields, StartChoicesOf(Settings()));
    EXPECT_EQ(strlen(read.description), static_cast<size_t>(kMaxDescriptionLength));
    EXPECT_EQ(strlen(read.imagePath), kLongestImagePath);
    EXPECT_STREQ(MakeJobRequest(JobKind::Write, fields, StartChoicesOf(Settings())).imagePath, "");
}

}  // namespace
