#include "program/folder_image.h"

#include <stdio.h>
#include <time.h>

#include "engine/fat/fat_make_checks.h"
#include "engine/fat/source_folder.h"
#include "engine/files/target_files.h"
#include "resources/string_ids.h"

namespace {

int Tell(MessageSink& sink, unsigned id, const std::string& text = std::string()) {
    sink.Show(UserMessage{id, MessageStyle::Error, text.c_str()});
    return -1;
}

// The disk as the raw image the conversion reads; its name is the target's with ".img"
// behind, or numbered where that is taken, made only where nothing of that name is. Gone
// when this goes.
class DiskFile {
public:
    ~DiskFile() {
        if (!path_.empty()) files_.Remove(path_.c_str());
    }
    int Write(const std::string& beside, const std::vector<uint8_t>& disk, MessageSink& sink) {
        for (int number = 0; number < 100; ++number) {
            const std::string path = beside + (number == 0 ? "" : "." + std::to_string(number)) + ".img";
            FILE* file = nullptr;
            const NewFile made = files_.CreateNew(path.c_str(), &file);
            if (made == NewFile::Taken) continue;
            if (made != NewFile::Created) return Tell(sink, IDS_EXTRACT_FAILED, path);
            path_ = path;
            const bool written = fwrite(disk.data(), 1, disk.size(), file) == disk.size();
            if (fclose(file) == 0 && written) return 0;
            return Tell(sink, IDS_EXTRACT_FAILED, path_);
        }
        return Tell(sink, IDS_EXTRACT_FAILED, beside + ".img");
    }
    const std::string& Path() const { return path_; }

private:
    // Only making and removing a file are asked, which both families do alike.
    SystemTargetFiles files_{true};
    std::string path_;
};

}  // namespace

int MakeFolderDisk(const FolderImageRequest& request, MessageSink& sink, std::vector<uint8_t>* disk) {
    const FloppyType* type = FormatOfKilobytes(request.kilobytes);
    if (type == nullptr) return Tell(sink, IDS_MAKE_BAD_FORMAT, std::to_string(request.kilobytes));
    if (request.folder.empty()) return Tell(sink, IDS_MAKE_NO_FOLDER);
    FatSourceItem root;
    FatMakeOptions options;
    if (ListSourceFolder(request.folder.c_str(), &root, sink) != 0) return -1;
    if (CheckFatFits(root, *type, options, request.folder, sink) != 0) return -1;
    if (ReadSourceContents(&root, sink) != 0) return -1;
    if (CheckFatFits(root, *type, options, request.folder, sink) != 0) return -1;
    // As DOS does, the serial number comes from the moment the disk is made.
    options.serial = static_cast<uint32_t>(time(nullptr)) * 2654435761u;
    options.labelTime = root.modified;
    std::string refused;
    if (MakeFatVolume(root, *type, options, disk, &refused) != 0) return Tell(sink, IDS_MAKE_BAD_NAME, refused);
    return 0;
}

int MakeImageFromFolder(const FolderImageRequest& request, JobFields& fields, const StartChoices& choices,
                        StartHost& host) {
    MessageSink& sink = host.Messages();
    if (request.image.empty()) return Tell(sink, IDS_MAKE_NO_IMAGE);
    if (CheckCreatableExtension(request.image, fields, sink) != 0) return -1;
    std::vector<uint8_t> disk;
    if (MakeFolderDisk(request, sink, &disk) != 0) return -1;
    DiskFile source;
    if (source.Write(request.image, disk, sink) != 0) return -1;
    fields.readImagePath = request.image;
    fields.sourceImagePath = source.Path();
    fields.description = request.description;
    const int started = StartRead(fields, request.description, choices, host);
    fields.sourceImagePath.clear();
    return started;
}
