#include "engine/fat/source_folder.h"

#include <windows.h>

#include <algorithm>

#include "engine/fat/ansi_names_win32.h"
#include "engine/fat/fat_volume.h"
#include "platform/handles_win32.h"
#include "resources/string_ids.h"

// Host paths stay in the ANSI code page the "A" calls take; the names kept on the
// volume are their UTF-8.

namespace {

// Far deeper than a floppy's folders go; a junction that leads back up ends here.
constexpr int kDeepestFolder = 64;

int Tell(MessageSink& sink, unsigned id, const std::string& text) {
    sink.Show(UserMessage{id, MessageStyle::Error, text.c_str()});
    return -1;
}

class FolderSearch {
public:
    FolderSearch(const std::string& pattern, WIN32_FIND_DATAA* found)
        : search_(FindFirstFileA(pattern.c_str(), found)) {}
    ~FolderSearch() {
        if (search_ != INVALID_HANDLE_VALUE) FindClose(search_);
    }
    FolderSearch(const FolderSearch&) = delete;
    FolderSearch& operator=(const FolderSearch&) = delete;
    HANDLE Get() const { return search_; }

private:
    HANDLE search_;
};

FatTimestamp StampOf(const FILETIME& utc) {
    FILETIME local;
    SYSTEMTIME when;
    FatTimestamp stamp;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &when)) return stamp;
    stamp.year = when.wYear;
    stamp.month = when.wMonth;
    stamp.day = when.wDay;
    stamp.hour = when.wHour;
    stamp.minute = when.wMinute;
    stamp.second = when.wSecond;
    return stamp;
}

uint8_t AttributesOf(DWORD attributes) {
    return static_cast<uint8_t>(attributes & (kFatReadOnly | kFatHidden | kFatSystem | kFatArchive));
}

// The folder's entries but "." and "..", by name, so the volume is the same each time.
int EntriesIn(const std::string& path, std::vector<WIN32_FIND_DATAA>* entries, MessageSink& sink) {
    WIN32_FIND_DATAA found;
    FolderSearch search(path + "\\*", &found);
    if (search.Get() == INVALID_HANDLE_VALUE) {
        return GetLastError() == ERROR_FILE_NOT_FOUND ? 0 : Tell(sink, IDS_MAKE_UNREADABLE, path);
    }
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") entries->push_back(found);
    } while (FindNextFileA(search.Get(), &found));
    if (GetLastError() != ERROR_NO_MORE_FILES) return Tell(sink, IDS_MAKE_UNREADABLE, path);
    std::sort(entries->begin(), entries->end(), [](const WIN32_FIND_DATAA& a, const WIN32_FIND_DATAA& b) {
        return lstrcmpA(a.cFileName, b.cFileName) < 0;
    });
    return 0;
}

int ListFolder(const std::string& path, FatSourceItem* folder, int depth, MessageSink& sink) {
    std::vector<WIN32_FIND_DATAA> entries;
    if (EntriesIn(path, &entries, sink) != 0) return -1;
    for (const WIN32_FIND_DATAA& entry : entries) {
        const std::string childPath = path + "\\" + entry.cFileName;
        FatSourceItem item;
        item.name = Utf8OfAnsi(entry.cFileName);
        if (!FatNameFits(item.name, folder->children)) return Tell(sink, IDS_MAKE_BAD_NAME, childPath);
        item.hostPath = childPath;
        item.modified = StampOf(entry.ftLastWriteTime);
        item.directory = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        item.attributes = AttributesOf(entry.dwFileAttributes);
        if (!item.directory) {
            item.size = (static_cast<uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
        } else {
            item.attributes &= static_cast<uint8_t>(~kFatArchive);
            if (depth >= kDeepestFolder) return Tell(sink, IDS_MAKE_UNREADABLE, childPath);
            if (ListFolder(childPath, &item, depth + 1, sink) != 0) return -1;
        }
        folder->children.push_back(std::move(item));
    }
    return 0;
}

int ReadFile(FatSourceItem& item, MessageSink& sink) {
    UniqueHandle file(CreateFileA(item.hostPath.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, NULL));
    if (!file.Valid()) return Tell(sink, IDS_MAKE_UNREADABLE, item.hostPath);
    // What the file holds now, up to a byte past its listed size: one that grew since
    // is measured again by the maker rather than cut.
    item.data.resize(item.size + 1);
    size_t filled = 0;
    while (filled < item.data.size()) {
        const size_t left = item.data.size() - filled;
        const DWORD chunk = left > 0x100000 ? 0x100000 : static_cast<DWORD>(left);
        DWORD got = 0;
        if (!::ReadFile(file.Get(), item.data.data() + filled, chunk, &got, NULL)) {
            return Tell(sink, IDS_MAKE_UNREADABLE, item.hostPath);
        }
        if (got == 0) break;
        filled += got;
    }
    item.data.resize(filled);
    item.size = filled;
    return 0;
}

// "C:\files\" as "C:\files"; a drive's root keeps its backslash.
std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    return path;
}

}  // namespace

int ListSourceFolder(const char* path, FatSourceItem* root, MessageSink& sink) {
    const std::string folder = WithoutTrailingSlash(path);
    // GetFileAttributesExA came with 98: 95 learns a folder's time from a search.
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return Tell(sink, IDS_MAKE_NOT_FOLDER, path);
    }
    *root = FatSourceItem();
    root->directory = true;
    root->hostPath = folder;
    WIN32_FIND_DATAA found;
    FolderSearch search(folder, &found);
    if (search.Get() != INVALID_HANDLE_VALUE) {
        root->modified = StampOf(found.ftLastWriteTime);
    } else {
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        root->modified = StampOf(now);
    }
    const bool slashed = folder.back() == '\\' || folder.back() == '/';
    return ListFolder(slashed ? folder.substr(0, folder.size() - 1) : folder, root, 0, sink);
}

int ReadSourceContents(FatSourceItem* root, MessageSink& sink) {
    for (FatSourceItem& child : root->children) {
        const int read = child.directory ? ReadSourceContents(&child, sink) : ReadFile(child, sink);
        if (read != 0) return -1;
    }
    return 0;
}
