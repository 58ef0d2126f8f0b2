// A disk's files from the command line of the real vorlix.exe: "/x" copies every file
// of an image's volume byte for byte, "/m" makes an image of a folder that the core reads
// back file for file (a folder too large is refused before an image exists), and "/l"
// shows the contents dialog, whose list is read from outside as a user sees it.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "engine/device/floppy_type.h"
#include "engine/fat/fat_maker.h"
#include "engine/fat/fat_volume.h"
#include "resources/main_dialog_ids.h"
#include "resources/string_ids.h"
#include "tests/gui/vorlix_run.h"

namespace gui {
namespace {

FatSourceItem FileItem(const std::string& name, const std::string& bytes) {
    FatSourceItem item;
    item.name = name;
    item.size = bytes.size();
    item.data.assign(bytes.begin(), bytes.end());
    item.modified = FatTimestamp{2024, 5, 17, 10, 20, 30};
    item.attributes = kFatArchive;
    return item;
}

std::string Pattern(size_t size, int seed) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + seed) & 0xFF);
    return bytes;
}

// The row texts of a report list view in another process: its buffers live there.
std::vector<std::vector<std::string>> ListRows(HWND list, DWORD pid, int columns) {
    std::vector<std::vector<std::string>> rows;
    UniqueHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
    if (!process.Valid()) return rows;
    const SIZE_T bytes = sizeof(LVITEMA) + 512;
    char* remote = static_cast<char*>(VirtualAllocEx(process.Get(), NULL, bytes, MEM_COMMIT, PAGE_READWRITE));
    if (remote == nullptr) return rows;
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        std::vector<std::string> cells;
        for (int column = 0; column < columns; ++column) {
            LVITEMA item = {};
            item.iSubItem = column;
            item.pszText = remote + sizeof(LVITEMA);
            item.cchTextMax = 512;
            WriteProcessMemory(process.Get(), remote, &item, sizeof item, NULL);
            SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote));
            char text[512] = "";
            ReadProcessMemory(process.Get(), remote + sizeof(LVITEMA), text, sizeof text - 1, NULL);
            cells.push_back(text);
        }
        rows.push_back(cells);
    }
    VirtualFreeEx(process.Get(), remote, 0, MEM_RELEASE);
    return rows;
}

class ContentsRun : public VorlixRunTest {
protected:
    // A 1440 kB raw image holding README.TXT, "Long name.bin" and DOCS/NOTE.TXT.
    std::string VolumeImage(const std::string& name) {
        FatSourceItem root;
        root.directory = true;
        root.children.push_back(FileItem("README.TXT", "Read me\r\n"));
        root.children.push_back(FileItem("Long name.bin", Pattern(70000, 3)));
        FatSourceItem docs;
        docs.name = "DOCS";
        docs.directory = true;
        docs.children.push_back(FileItem("NOTE.TXT", Pattern(1500, 9)));
        root.children.push_back(docs);
        const FloppyType* type = FindFloppyTypeOfSize(1440 * 1024);
        std::vector<uint8_t> disk;
        EXPECT_EQ(0, MakeFatVolume(root, *type, FatMakeOptions(), &disk));
        const std::string path = Image(name);
        WriteWholeFile(path, std::string(disk.begin(), disk.end()));
        return path;
    }
};

TEST_F(ContentsRun, ExtractCopiesEveryFileByteForByte) {
    const std::string image = VolumeImage("files.img");
    const std::string out = Image("out");
    Start({"/x", image, out});
    ASSERT_EQ(0u, FinishWithoutMessages());
    EXPECT_EQ(ReadWholeFile(out + "\\README.TXT"), "Read me\r\n");
    EXPECT_TRUE(ReadWholeFile(out + "\\Long name.bin") == Pattern(70000, 3));
    EXPECT_TRUE(ReadWholeFile(out + "\\DOCS\\NOTE.TXT") == Pattern(1500, 9));

    // A second run finds them there: nothing is replaced, and the status says so.
    WriteWholeFile(out + "\\README.TXT", "mine");
    Start({"/x", image, out});
    EXPECT_EQ(1u, FinishWithoutMessages());
    EXPECT_EQ(ReadWholeFile(out + "\\README.TXT"), "mine");
}

TEST_F(ContentsRun, MakeWritesAnImageOfTheFolder) {
    const std::string folder = Image("source");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), NULL));
    ASSERT_TRUE(CreateDirectoryA((folder + "\\Sub folder").c_str(), NULL));
    WriteWholeFile(folder + "\\A.TXT", "alpha");
    WriteWholeFile(folder + "\\Sub folder\\data.bin", Pattern(20000, 5));
    const std::string image = Image("made.img");
    Start({"/m", folder, "/r", image, "/k", "720", "/f"});
    ASSERT_EQ(0u, FinishWithoutMessages());

    const std::string bytes = ReadWholeFile(image);
    ASSERT_GE(bytes.size(), 720u * 1024);
    FatVolume volume;
    ASSERT_EQ(FatOpen::Opened, volume.Open(reinterpret_cast<const uint8_t*>(bytes.data()), 720 * 1024));
    EXPECT_TRUE(volume.Damage().empty());
    std::vector<std::string> found;
    for (const FatEntry& entry : volume.Entries()) {
        std::vector<uint8_t> data;
        if (!entry.directory) {
            ASSERT_TRUE(volume.ReadContents(entry, &data)) << entry.path;
        }
        found.push_back(entry.path + "=" + std::string(data.begin(), data.end()));
    }
    EXPECT_EQ(found, (std::vector<std::string>{"A.TXT=alpha", "Sub folder=",
                                               "Sub folder/data.bin=" + Pattern(20000, 5)}));
}

TEST_F(ContentsRun, AFolderTooLargeIsRefusedBeforeAnImageIsMade) {
    const std::string folder = Image("large");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), NULL));
    WriteWholeFile(folder + "\\BIG.BIN", Pattern(200 * 1024, 1));
    const std::string image = Image("small.img");
    Start({"/m", folder, "/r", image, "/k", "160", "/f"});
    const ShownMessage box = WaitForMessageBox(vorlix_.Id());
    ASSERT_NE(box.window, (HWND)NULL);
    EXPECT_NE(box.text.find(std::to_string(200 * 1024)), std::string::npos) << box.text;
    Answer(box, IDOK);
    EXPECT_EQ(1u, ExitStatus());
    EXPECT_FALSE(FileExists(image));
    EXPECT_FALSE(FileExists(image + ".img"));
}

TEST_F(ContentsRun, ListShowsEveryFileWithItsColumns) {
    const std::string image = VolumeImage("list.img");
    Start({"/l", image});
    const HWND dialog = WaitForDialogWith(vorlix_.Id(), IDC_CONTENTS_LIST);
    ASSERT_NE(dialog, (HWND)NULL);
    EXPECT_NE(ControlText(dialog, IDC_CONTENTS_VOLUME).find("bytes"), std::string::npos);
    const auto rows = ListRows(GetDlgItem(dialog, IDC_CONTENTS_LIST), vorlix_.Id(), 5);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"README.TXT", "9", "2024-05-17 10:20:30", "A", ""}));
    EXPECT_EQ(rows[1][0], "Long name.bin");
    EXPECT_EQ(rows[1][1], "70000");
    EXPECT_EQ(rows[2][0], "DOCS\\");
    EXPECT_EQ(rows[2][1], "<DIR>");
    EXPECT_EQ(rows[3][0], "DOCS\\NOTE.TXT");
    PressButton(dialog, IDCANCEL);
    EXPECT_EQ(0u, ExitStatus());
}

// Without an image in the Write Floppy panel the disk in the drive is read: here the
// sample disk that mkfs.fat and mcopy made.
TEST_F(ContentsRun, ShowContentsReadsTheDiskInTheDrive) {
    RequireJobs();
    if (IsSkipped()) return;
    ASSERT_EQ(0, InsertDisk(SampleDisk("sample", 1440)));
    Start({});
    const HWND main = WaitForDialogWith(vorlix_.Id(), IDC_READ_START);
    ASSERT_NE(main, (HWND)NULL);
    PostMessageA(main, WM_COMMAND, ID_SHOW_CONTENTS, 0);
    const HWND dialog = WaitForDialogWith(vorlix_.Id(), IDC_CONTENTS_LIST, kJobMs);
    ASSERT_NE(dialog, (HWND)NULL);
    EXPECT_NE(ControlText(dialog, IDC_CONTENTS_VOLUME).find("Serial: 1999-0401"), std::string::npos)
        << ControlText(dialog, IDC_CONTENTS_VOLUME);
    EXPECT_FALSE(ListRows(GetDlgItem(dialog, IDC_CONTENTS_LIST), vorlix_.Id(), 1).empty());
    PressButton(dialog, IDCANCEL);
    ASSERT_TRUE(WaitUntilGone(dialog));
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, ExitStatus());
}

}  // namespace
}  // namespace gui
