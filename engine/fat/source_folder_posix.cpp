#include "engine/fat/source_folder.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>

#include "engine/fat/descriptor_posix.h"
#include "engine/fat/fat_volume.h"
#include "resources/string_ids.h"

namespace {

// Far deeper than a floppy's folders go; links that lead back up are caught before.
constexpr int kDeepestFolder = 64;

struct FolderKey {
    dev_t device;
    ino_t inode;
};

int Tell(MessageSink& sink, unsigned id, const std::string& text) {
    sink.Show(UserMessage{id, MessageStyle::Error, text.c_str()});
    return -1;
}

class FolderStream {
public:
    explicit FolderStream(const char* path) : folder_(opendir(path)) {}
    ~FolderStream() {
        if (folder_ != nullptr) closedir(folder_);
    }
    FolderStream(const FolderStream&) = delete;
    FolderStream& operator=(const FolderStream&) = delete;
    DIR* Get() const { return folder_; }

private:
    DIR* folder_;
};

FatTimestamp StampOf(time_t when) {
    struct tm local;
    FatTimestamp stamp;
    if (localtime_r(&when, &local) == nullptr) return stamp;
    stamp.year = static_cast<uint32_t>(local.tm_year + 1900);
    stamp.month = static_cast<uint32_t>(local.tm_mon + 1);
    stamp.day = static_cast<uint32_t>(local.tm_mday);
    stamp.hour = static_cast<uint32_t>(local.tm_hour);
    stamp.minute = static_cast<uint32_t>(local.tm_min);
    stamp.second = static_cast<uint32_t>(local.tm_sec);
    return stamp;
}

std::vector<std::string> NamesIn(const std::string& path, MessageSink& sink, bool* read) {
    std::vector<std::string> names;
    FolderStream folder(path.c_str());
    *read = folder.Get() != nullptr;
    if (!*read) {
        Tell(sink, IDS_MAKE_UNREADABLE, path);
        return names;
    }
    while (const dirent* entry = readdir(folder.Get())) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

int ListFolder(const std::string& path, FatSourceItem* folder, std::vector<FolderKey>& above, MessageSink& sink) {
    bool read = false;
    const std::vector<std::string> names = NamesIn(path, sink, &read);
    if (!read) return -1;
    for (const std::string& name : names) {
        const std::string childPath = path + "/" + name;
        if (!FatNameFits(name, folder->children)) return Tell(sink, IDS_MAKE_BAD_NAME, childPath);
        struct stat status;
        if (stat(childPath.c_str(), &status) != 0 || !(S_ISREG(status.st_mode) || S_ISDIR(status.st_mode))) {
            return Tell(sink, IDS_MAKE_UNREADABLE, childPath);
        }
        FatSourceItem item;
        item.name = name;
        item.hostPath = childPath;
        item.modified = StampOf(status.st_mtime);
        item.directory = S_ISDIR(status.st_mode);
        if (!item.directory) {
            item.size = static_cast<uint64_t>(status.st_size);
            item.attributes = kFatArchive | ((status.st_mode & S_IWUSR) == 0 ? kFatReadOnly : 0);
        } else {
            for (const FolderKey& key : above) {
                if (key.device == status.st_dev && key.inode == status.st_ino) {
                    return Tell(sink, IDS_MAKE_UNREADABLE, childPath);  // a link back up
                }
            }
            if (above.size() >= kDeepestFolder) return Tell(sink, IDS_MAKE_UNREADABLE, childPath);
            above.push_back(FolderKey{status.st_dev, status.st_ino});
            const int listed = ListFolder(childPath, &item, above, sink);
            above.pop_back();
            if (listed != 0) return -1;
        }
        folder->children.push_back(std::move(item));
    }
    return 0;
}

int ReadFile(FatSourceItem& item, MessageSink& sink) {
    const Descriptor file(open(item.hostPath.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0) return Tell(sink, IDS_MAKE_UNREADABLE, item.hostPath);
    // What the file holds now, up to a byte past its listed size: one that grew since
    // is measured again by the maker rather than cut.
    item.data.resize(item.size + 1);
    size_t filled = 0;
    while (filled < item.data.size()) {
        const ssize_t got = read(file.Get(), item.data.data() + filled, item.data.size() - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return Tell(sink, IDS_MAKE_UNREADABLE, item.hostPath);
        if (got == 0) break;
        filled += static_cast<size_t>(got);
    }
    item.data.resize(filled);
    item.size = filled;
    return 0;
}

}  // namespace

int ListSourceFolder(const char* path, FatSourceItem* root, MessageSink& sink) {
    struct stat status;
    if (stat(path, &status) != 0 || !S_ISDIR(status.st_mode)) return Tell(sink, IDS_MAKE_NOT_FOLDER, path);
    *root = FatSourceItem();
    root->directory = true;
    root->hostPath = path;
    root->modified = StampOf(status.st_mtime);
    std::vector<FolderKey> above{FolderKey{status.st_dev, status.st_ino}};
    return ListFolder(path, root, above, sink);
}

int ReadSourceContents(FatSourceItem* root, MessageSink& sink) {
    for (FatSourceItem& child : root->children) {
        const int read = child.directory ? ReadSourceContents(&child, sink) : ReadFile(child, sink);
        if (read != 0) return -1;
    }
    return 0;
}
