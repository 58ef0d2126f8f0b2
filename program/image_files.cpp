#include "program/image_files.h"

#include "app/exit_status.h"
#include "engine/fat/fat_disk_source.h"

int ImageFiles::Open(const std::string& image, MessageSink& sink) {
    if (LoadVolumeImage(image.c_str(), sink, nullptr, &disk_) != 0) return -1;
    if (OpenFatVolume(volume_, disk_, false, image, sink) != 0) return -1;
    MarkMappedSectors(volume_, image, disk_.size);
    return 0;
}

int ImageFiles::Extract(const std::string& folder, const std::vector<std::string>& paths, MessageSink& sink,
                        FatExtractResult* result) const {
    FatExtractRequest request;
    request.targetFolder = folder;
    request.paths = paths;
    SystemExtractFiles files;
    return ExtractFatFiles(volume_, request, files, sink, result);
}

int ExtractAllFiles(const std::string& image, const std::string& folder, MessageSink& sink) {
    ImageFiles files;
    if (files.Open(image, sink) != 0) return kExitJobNotDone;
    return files.Extract(folder, {}, sink) == 0 ? kExitJobDone : kExitJobNotDone;
}
