#include "ui/main_dialog_model.h"

#include "engine/image_trailer.h"
#include "ui/start_checks.h"

void MainDialogModel::LoadImageTrailer(const std::string& path) {
    char description[kDescriptionBufferSize] = "";
    int sectorsPerTrack = 0;
    int result = ReadImageTrailer(path.c_str(), host_.Messages(), description, &sectorsPerTrack);
    fields.imageSectorsPerTrack = sectorsPerTrack;
    if (result == kTrailerRead) panels.ShowImageDescription(description);
}

int MainDialogModel::AcceptImageToWrite(const std::string& path) {
    if (CheckReadableExtension(path, fields, host_.Messages()) != 0) return -1;
    fields.writeImagePath = path;
    panels.ShowWritePanel(path);
    LoadImageTrailer(path);
    return 0;
}

int MainDialogModel::AcceptReadTarget(const std::string& path) {
    if (CheckCreatableExtension(path, fields, host_.Messages()) != 0) return -1;
    fields.readImagePath = path;
    panels.ShowReadPanel(path);
    saveFilterIndex = SaveFilterIndexFor(path, saveFilterIndex);
    return 0;
}

int MainDialogModel::OpenImageArgument(const std::string& path) {
    fields.writeImagePath = path;
    if (CheckReadableExtension(path, fields, host_.Messages()) != 0) return -1;
    if (CheckImageOpens(path, host_) != 0) return -1;
    panels.ShowWritePanel(path);
    LoadImageTrailer(path);
    return 0;
}

int MainDialogModel::RunCommandLine(const CommandLineRequest& request) {
    fields.commandLineMode = true;
    fields.description = request.description;
    const std::string& path = request.imagePath;
    if (request.job == CommandLineJob::Write) {
        fields.writeImagePath = path;
        if (CheckReadableExtension(path, fields, host_.Messages()) != 0) return -1;
        if (CheckImageOpens(path, host_) != 0) return -1;
        LoadImageTrailer(path);
        StartWrite();
    } else if (request.job == CommandLineJob::Read) {
        fields.readImagePath = path;
        if (CheckCreatableExtension(path, fields, host_.Messages()) != 0) return -1;
        StartRead();
    }
    return 0;
}
