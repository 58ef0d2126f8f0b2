#include "ui/job_fields.h"

#include "engine/image_kind.h"
#include "engine/job_text.h"

JobRequest MakeJobRequest(JobKind kind, const JobFields& fields, const Settings& settings) {
    JobRequest request;
    request.kind = kind;
    const std::string& path = kind == JobKind::Read ? fields.readImagePath : fields.writeImagePath;
    CopyJobText(request.imagePath, path.c_str());
    CopyJobText(request.description, fields.description.c_str());
    request.verify = settings.Verify != 0;
    if (kind == JobKind::Read && !fields.sourceImagePath.empty()) {
        CopyJobText(request.sourceImagePath, fields.sourceImagePath.c_str());
    }
    CopyJobText(request.drive, settings.FDLetter);
    request.emergency = settings.Emergency != 0;
    request.compatible = settings.Compatible != 0;
    request.retries = settings.Retries;
    request.rereadMappedSectors = fields.rereadMappedSectors;
    return request;
}
