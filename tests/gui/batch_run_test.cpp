// vorlix.exe /n: two disks read one after the other from the command line, the question
// between them answered by the test, each image with its log and its rows in the
// manifest beside them.
#include <gtest/gtest.h>

#include "tests/gui/vorlix_run.h"

namespace gui {
namespace {

TEST_F(VorlixRunTest, BatchReadsTwoDisksWithLogsAndAManifest) {
    RequireJobs();
    if (IsSkipped()) return;
    ASSERT_EQ(0, InsertDisk(SampleDisk("sample", 1440)));
    Start({"/n", "/r", Image("box-##.imz"), "/d", "Box 4, disk ##", "/f"});
    ShownMessage box = WaitForMessageBox(vorlix_.Id(), kJobMs);
    ASSERT_NE(nullptr, box.window) << "no question after the first disk";
    EXPECT_EQ("Disk 1 is done. Insert disk 2 and click OK to read it, or Cancel to stop.", box.text);
    ASSERT_EQ(0, InsertDisk(SampleDisk("sample", 720)));
    ASSERT_TRUE(Answer(box, IDOK));
    box = WaitForMessageBox(vorlix_.Id(), kJobMs);
    ASSERT_NE(nullptr, box.window) << "no question after the second disk";
    EXPECT_EQ("Disk 2 is done. Insert disk 3 and click OK to read it, or Cancel to stop.", box.text);
    ASSERT_TRUE(Answer(box, IDCANCEL));
    EXPECT_EQ(0u, ExitStatus(kJobMs));

    for (const char* name : {"box-01.imz", "box-01.imz.log", "box-02.imz", "box-02.imz.log"}) {
        EXPECT_TRUE(FileExists(Image(name))) << name;
    }
    const std::string log = ReadWholeFile(Image("box-02.imz.log"));
    EXPECT_NE(std::string::npos, log.find("Description: Box 4, disk 02\n")) << log;
    EXPECT_NE(std::string::npos, log.find("Format: 720 kB")) << log;
    const std::string manifest = ReadWholeFile(Image("manifest.txt"));
    EXPECT_EQ(0u, manifest.find("%%%% HASHDEEP-1.0\n")) << manifest;
    EXPECT_NE(std::string::npos, manifest.find(",box-02.imz.log\n")) << manifest;
}

}  // namespace
}  // namespace gui
