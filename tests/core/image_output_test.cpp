// The image file of a read job is written only through the file the job made for it.
#include "engine/image_output.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/image_kind.h"
#include "engine/restorer_stub_copy.h"
#include "tests/support/binary_data.h"
#include "tests/support/faulty_target_files.h"
#include "tests/support/image_files.h"
#include "tests/support/temp_dir.h"

namespace {

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
                if (output.Finish() == 0) EXPECT_NE(output.Commit(), 0);
            }
        }
        EXPECT_TRUE(ReadWholeFile(victim) == "someone else's file") << "the bytes went elsewhere";
        EXPECT_EQ(ReadWholeFile(dir.File(name)), "old image");
        EXPECT_FALSE(std::filesystem::is_symlink(dir.File(name)));
    }
}
#endif

}  // namespace
