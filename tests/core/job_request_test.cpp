#include "ui/job_request.h"

#include <gtest/gtest.h>

#include <string.h>

namespace {

TEST(PrepareJobContext, CopiesTheRequestAndClearsTheLastJob) {
    JobContext context;
    JobProgress old{};
    old.percentDone = 55;
    old.kilobytesCopied = 800;
    strcpy(old.speedText, "12.5");
    context.progress.Store(old);
    context.cancelRequested.store(1);
    strcpy(context.description, "an older description");

    JobFields fields;
    fields.readImagePath = "c:\\out.imz";
    fields.writeImagePath = "c:\\in.img";
    fields.description = "Sample";
    fields.compressed = true;
    fields.commandLineMode = true;
    fields.imageSectorsPerTrack = 21;
    int window = 0;
    PrepareJobContext(context, fields, &window);

    EXPECT_EQ(context.notifyWindow, &window);
    EXPECT_EQ(context.cancelRequested.load(), 0u);
    const JobProgress now = context.progress.Load();
    EXPECT_EQ(now.percentDone, 0u);
    EXPECT_EQ(now.kilobytesCopied, 0u);
    EXPECT_STREQ(now.speedText, "");
    EXPECT_STREQ(context.readTargetPath, "c:\\out.imz");
    EXPECT_STREQ(context.writeSourcePath, "c:\\in.img");
    EXPECT_STREQ(context.description, "Sample");
    EXPECT_EQ(context.compressed, 1u);
    EXPECT_EQ(context.commandLineMode, 1u);
    EXPECT_EQ(context.imageSectorsPerTrack, 21);
    EXPECT_EQ(context.progressDialog, nullptr);
}

TEST(PrepareJobContext, CutsTextsToTheRecordsBuffers) {
    JobContext context;
    JobFields fields;
    fields.description = std::string(400, 'd');
    fields.readImagePath = std::string(kLongestImagePath, 'p');
    PrepareJobContext(context, fields, nullptr);
    EXPECT_EQ(strlen(context.description), static_cast<size_t>(kMaxDescriptionLength));
    EXPECT_EQ(strlen(context.readTargetPath), kLongestImagePath);
    EXPECT_STREQ(context.writeSourcePath, "");
}

}  // namespace
