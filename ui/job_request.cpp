#include "ui/job_request.h"

#include "engine/job_text.h"

void PrepareJobContext(JobContext& context, const JobFields& fields, void* notifyWindow) {
    context.notifyWindow = notifyWindow;
    context.progress.Reset();
    context.cancelRequested.store(0);
    context.compressed = fields.compressed ? 1 : 0;
    CopyJobText(context.description, fields.description.c_str());
    CopyJobText(context.writeSourcePath, fields.writeImagePath.c_str());
    CopyJobText(context.readTargetPath, fields.readImagePath.c_str());
    context.imageSectorsPerTrack = fields.imageSectorsPerTrack;
    context.commandLineMode = fields.commandLineMode ? 1 : 0;
    context.progressDialog = nullptr;
}
