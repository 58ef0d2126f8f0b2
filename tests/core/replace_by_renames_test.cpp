// The 9x family's replacement, over a file layer that renames as that family does (never
// over an existing file) and lets chosen renames fail: whatever fails, an image keeps
// the target's name, the old one wherever the new one did not arrive.
#include "engine/files/replace_by_renames.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdio.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace {

using ::testing::ElementsAreArray;

class Win9xLikeRenames final : public RenameCalls {
public:
    std::set<std::string> stuck;  // files that will not move (in use)

    bool Exists(const char* path) override {
        return std::filesystem::exists(std::filesystem::symlink_status(path));
    }
    bool Rename(const char* from, const char* to) override {
        return stuck.count(from) == 0 && !Exists(to) && rename(from, to) == 0;
    }
    bool Remove(const char* path) override { return remove(path) == 0; }
};

TEST(ReplaceByRenames, TheTargetsNameAlwaysHoldsAnImage) {
    const struct {
        const char* name;
        bool oldTarget;
        std::vector<std::string> stuck;  // names whose file will not move
        Replacement expected;
        const char* target;               // what then has the target's name; nullptr: nothing
        std::vector<std::string> files;  // everything in the folder
    } cases[] = {
        {"NewTarget", false, {}, Replacement::Done, "new", {"disk.img", "disk.img.1.tmp"}},
        {"OldTargetReplaced", true, {}, Replacement::Done, "new", {"disk.img", "disk.img.1.tmp"}},
        {"OldTargetInUse", true, {"disk.img"}, Replacement::Refused, "old",
         {"disk.img", "disk.img.1.tmp", "disk.img.tmp"}},
        {"NewFileWillNotMove", true, {"disk.img.tmp"}, Replacement::Refused, "old",
         {"disk.img", "disk.img.1.tmp", "disk.img.tmp"}},
        // The old image was moved aside to the first free name and stays there.
        {"OldTargetWillNotMoveBack", true, {"disk.img.tmp", "disk.img.2.tmp"},
         Replacement::Stranded, nullptr, {"disk.img.1.tmp", "disk.img.2.tmp", "disk.img.tmp"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string target = dir.File("disk.img");
        const std::string source = dir.File("disk.img.tmp");
        WriteWholeFile(source, "new");
        if (c.oldTarget) WriteWholeFile(target, "old");
        WriteWholeFile(dir.File("disk.img.1.tmp"), "someone's");
        Win9xLikeRenames calls;
        for (const std::string& name : c.stuck) calls.stuck.insert(dir.File(name));

        EXPECT_EQ(ReplaceByRenames(calls, source.c_str(), target.c_str()), c.expected);

        EXPECT_THAT(FileNamesIn(dir.path()), ElementsAreArray(c.files));
        if (c.target != nullptr) {
            EXPECT_EQ(ReadWholeFile(target), c.target);
        } else {
            EXPECT_EQ(ReadWholeFile(dir.File("disk.img.2.tmp")), "old");
        }
        if (c.expected != Replacement::Done) {
            EXPECT_EQ(ReadWholeFile(source), "new");
        }
        EXPECT_EQ(ReadWholeFile(dir.File("disk.img.1.tmp")), "someone's");
    }
}

}  // namespace
