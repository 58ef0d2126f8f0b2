#include "program/main_dialog_model.h"

#include "app/exit_status.h"
#include "engine/image/image_check.h"
#include "engine/image/image_input.h"
#include "engine/image/image_trailer.h"

namespace {

// A start operation gives -1 for a check or question that stopped it, else the job's end,
// whose values are already the statuses.
int ExitStatusOfStart(int started) {
    return started < 0 ? kExitJobNotDone : started;
}

}  // namespace

void MainDialogModel::LoadImageTrailer(const std::string& path) {
    char description[kDescriptionBufferSize] = "";
    int sectorsPerTrack = 0;
    int result = ReadImageTrailer(path.c_str(), host_.Messages(), description, &sectorsPerTrack);
    if (result == kTrailerRead) panels.ShowImageDescription(description);
    // A newer trailer was refused above, and names nothing this version knows.
    if (result == kTrailerNewerVersion) return;
    SourceImage source;
    ReadSourceImage(path.c_str(), kProgramTrailerPolicy, &source);
    const FloppyType* format = ApparentFormatOf(path.c_str(), source);
    if (format != nullptr) panels.ShowImageFormat(format->name);
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

int MainDialogModel::CheckImage(const std::string& path) {
    return CheckImageFile(path.c_str(), host_.Messages(), host_.Texts()) == 0 ? kExitJobDone
                                                                                 : kExitJobNotDone;
}

int MainDialogModel::ConvertImage(const std::string& source) {
    fields.sourceImagePath = source;
    const int started = StartRead();
    fields.sourceImagePath.clear();
    return started;
}

int MainDialogModel::ReadDiskInto(const std::string& image) {
    const JobFields kept = fields;
    fields.readImagePath = image;
    fields.sourceImagePath.clear();
    const int started = ::StartRead(fields, std::string(), StartChoicesOf(settings_), host_);
    fields = kept;
    return started;
}

int MainDialogModel::RunCommandLine(const CommandLineRequest& request) {
    fields.commandLineMode = true;
    fields.description = request.description;
    const std::string& path = request.imagePath;
    if (request.job == CommandLineJob::Write) {
        fields.writeImagePath = path;
        if (CheckReadableExtension(path, fields, host_.Messages()) != 0) return kExitRefused;
        if (CheckImageOpens(path, host_) != 0) return kExitRefused;
        LoadImageTrailer(path);
        return ExitStatusOfStart(StartWrite());
    }
    if (request.job == CommandLineJob::Read) {
        fields.readImagePath = path;
        fields.sourceImagePath = request.sourceImage;
        if (CheckCreatableExtension(path, fields, host_.Messages()) != 0) return kExitRefused;
        if (request.batch) return ExitStatusOfStart(StartBatch(path, request.description));
        return ExitStatusOfStart(StartRead());
    }
    if (request.job == CommandLineJob::Check) return CheckImage(path);
    if (request.job == CommandLineJob::Make) {
        const FolderImageRequest make{request.folder, path, request.description, request.formatKilobytes};
        return ExitStatusOfStart(MakeImageFromFolder(make));
    }
    return kExitJobNotDone;
}
