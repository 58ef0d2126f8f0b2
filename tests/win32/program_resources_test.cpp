// The main program's resources as Windows sees them, in a program linked with
// resources/vorlix.rc: the shell picks file-type icons by index, Explorer shows the
// version record, and the loader reads the manifest.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/string_ids.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// The build names the probe by its Unix path; Wine's Z: drive is the Unix root.
std::string ProbePath() {
    std::string path = VORLIX_RESOURCE_PROBE;
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    return path;
}

class ProgramResources : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryExA(ProbePath().c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr) << ProbePath() << " error " << GetLastError();
    }
    void TearDown() override {
        if (module_) FreeLibrary(module_);
    }

    // The bytes of one resource, empty when it is missing.
    std::string Resource(LPCSTR type, LPCSTR name) const {
        HRSRC found = FindResourceA(module_, name, type);
        if (!found) return {};
        HGLOBAL loaded = LoadResource(module_, found);
        const char* bytes = static_cast<const char*>(LockResource(loaded));
        return bytes ? std::string(bytes, SizeofResource(module_, found)) : std::string();
    }

    HMODULE module_ = nullptr;
};

BOOL CALLBACK CollectId(HMODULE, LPCSTR, LPSTR name, LONG_PTR list) {
    reinterpret_cast<std::vector<unsigned>*>(list)->push_back(
        IS_INTRESOURCE(name) ? static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(name)) : 0u);
    return TRUE;
}

TEST_F(ProgramResources, IconGroupsComeInTheOrderTheShellIndexesThem) {
    std::vector<unsigned> groups;
    EnumResourceNamesA(module_, RT_GROUP_ICON, CollectId, reinterpret_cast<LONG_PTR>(&groups));
    EXPECT_THAT(groups, ElementsAre(128u, 134u, 135u));
    EXPECT_EQ(ExtractIconExA(ProbePath().c_str(), -1, NULL, NULL, 0), 3u);
}

// Each group has a 32x32 and a 16x16 image, so neither large nor small icons are
// scaled from the other size.
TEST_F(ProgramResources, EveryIconGroupHasLargeAndSmallImages) {
    for (unsigned group : {128u, 134u, 135u}) {
        std::string directory = Resource(RT_GROUP_ICON, MAKEINTRESOURCEA(group));
        ASSERT_FALSE(directory.empty()) << group;
        for (int size : {32, 16}) {
            const int id = LookupIconIdFromDirectoryEx(reinterpret_cast<PBYTE>(&directory[0]), TRUE,
                                                       size, size, LR_DEFAULTCOLOR);
            const std::string image = Resource(RT_ICON, MAKEINTRESOURCEA(id));
            ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER)) << group << " " << size;
            const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(image.data());
            EXPECT_EQ(header->biWidth, size) << group;
            EXPECT_EQ(header->biHeight, 2 * size) << group;
        }
        HICON large = NULL, small = NULL;
        const int index = group == 128 ? 0 : group == 134 ? 1 : 2;
        ASSERT_EQ(ExtractIconExA(ProbePath().c_str(), index, &large, &small, 1), 2u) << group;
        DestroyIcon(large);
        DestroyIcon(small);
    }
}

std::string VersionString(const std::vector<char>& block, const char* name) {
    const std::string path = std::string("\\StringFileInfo\\040904E4\\") + name;
    char* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length)) return {};
    return std::string(value);
}

TEST_F(ProgramResources, VersionRecordNamesTheProgramAndItsMaker) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(ProbePath().c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(ProbePath().c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(5, 1));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(0, 2));
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(5, 1));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    EXPECT_EQ(VersionString(block, "CompanyName"), "Quendal Software");
    EXPECT_EQ(VersionString(block, "ProductName"), "Vorlix");
    EXPECT_EQ(VersionString(block, "FileVersion"), "1.5.2");
    EXPECT_EQ(VersionString(block, "ProductVersion"), "1.5.2");
    EXPECT_FALSE(VersionString(block, "FileDescription").empty());
}

TEST_F(ProgramResources, ManifestAsksForCommonControls6AndNoElevation) {
    const std::string manifest = Resource(MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));
    EXPECT_THAT(manifest, HasSubstr("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""));
    EXPECT_THAT(manifest, HasSubstr("level=\"asInvoker\""));
}

TEST_F(ProgramResources, CarriesTheStringTable) {
    char text[64] = "";
    EXPECT_GT(LoadStringA(module_, IDS_APP_TITLE, text, sizeof text), 0);
    EXPECT_STREQ(text, "Vorlix");
}

}  // namespace
