// The image file of a read job is written only through the file the job made for it.
#include "engine/image/image_output.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/image/image_kind.h"
#include "engine/image/image_trailer.h"
#include "engine/image/restorer_stub_copy.h"
#include "tests/support/binary_data.h"
#include "tests/support/counting_files.h"
#include "tests/support/faulty_target_files.h"
#include "tests/support/image_files.h"
#include "tests/support/recording_sink.h"
#include "tests/support/temp_dir.h"

namespace {

// The trailer goes through the image's own stream, and a close that loses the last bytes
// is a failed write before anything replaces the target.
TEST(ImageOutput, TrailerGoesThroughTheOpenFileAndOnlyAWholeImageReplaces) {
    for (bool failingClose : {false, true}) {
        SCOPED_TRACE(failingClose ? "failing close" : "whole");
        if (failingClose && !CountingFiles::Available()) continue;
        TempDir dir;
        const std::string target = dir.File("disk.img");
        WriteWholeFile(target, "old image");
        FaultyTargetFiles files;
        const std::string data = BinaryTestData(9216, 4);
        CountingFiles counting;
        counting.failEveryClose = failingClose;
        {
            ImageOutput output(files);
            ASSERT_EQ(output.Open(target.c_str(), false, "", nullptr), OutputOpen::Opened);
            ASSERT_EQ(output.Write(data.data(), static_cast<unsigned>(data.size())), 0);
            ASSERT_EQ(output.Finish(), 0);
            ASSERT_EQ(output.AppendTrailer("Described", *FindFloppyType(18), nullptr, 0), 0);
            EXPECT_EQ(output.Close(), failingClose ? -1 : 0);
            EXPECT_EQ(output.Commit(), failingClose ? -1 : 0);
        }
        EXPECT_EQ(counting.OpenNow(), 0);
        EXPECT_EQ(counting.opens, CountingFiles::Available() ? 1 : 0) << "opened by name again";
        counting.failEveryClose = false;
        if (failingClose) {
            EXPECT_EQ(ReadWholeFile(target), "old image");
        } else {
            const std::string image = ReadWholeFile(target);
            ASSERT_EQ(image.size(), data.size() + kImageTrailerSize);
            EXPECT_TRUE(image.compare(0, data.size(), data) == 0);
            RecordingSink sink;
            char description[kDescriptionBufferSize];
            int sectorsPerTrack = 0;
            EXPECT_EQ(ReadImageTrailer(target.c_str(), sink, description, &sectorsPerTrack),
                      kTrailerRead);
            EXPECT_EQ(std::string(description), "Described");
        }
        EXPECT_EQ(FileNamesIn(dir.path()), std::vector<std::string>{"disk.img"});
    }
}

#ifndef _WIN32
// Whoever swaps the new file's name for a link between its creation and the first byte
// must not choose where the floppy's bytes go: they reach no file but the job's, and a
// file that is no longer the job's never takes the target's place.
TEST(ImageOutput, NameSwappedForALinkGetsNoBytes) {
    for (const char* name : {"disk.img", "disk.imz", "disk.exe"}) {
        SCOPED_TRACE(name);
        TempDir dir;
        const std::string program = dir.File("vorlix.exe");
        const std::string victim = dir.File("victim");
        WriteFakeProgram(program);
        WriteWholeFile(victim, "someone else's file");
        WriteWholeFile(dir.File(name), "old image");
        FaultyTargetFiles files;
        files.onCreated = [&victim](const std::string& path) {
            std::filesystem::remove(path);
            std::filesystem::create_symlink(victim, path);
        };
        char scratch[kStubCopyPiece];
        const std::string data = BinaryTestData(70000, 3);
        {
            ImageOutput output(files);
            const bool compressed = !HasExtension(name, ".img");
            if (output.Open(dir.File(name).c_str(), compressed, program.c_str(), scratch) ==
                OutputOpen::Opened) {
                output.Write(data.data(), static_cast<unsigned>(data.size()));
                if (output.Finish() == 0) {
                    EXPECT_NE(output.Commit(), 0);
                }
            }
        }
        EXPECT_TRUE(ReadWholeFile(victim) == "someone else's file") << "the bytes went elsewhere";
        EXPECT_EQ(ReadWholeFile(dir.File(name)), "old image");
        EXPECT_FALSE(std::filesystem::is_symlink(dir.File(name)));
    }
}
#endif

}  // namespace
