#include "engine/job/job_fields.h"

#include "engine/image/image_kind.h"
#include "engine/job/job_text.h"

JobRequest MakeJobRequest(JobKind kind, const JobFields& fields, const StartChoices& choices) {
    JobRequest request;
    request.kind = kind;
    const std::string& path = kind == JobKind::Read ? fields.readImagePath : fields.writeImagePath;
    CopyJobText(request.imagePath, path.c_str());
    CopyJobText(request.description, fields.description.c_str());
    request.verify = choices.verify;
    if (kind == JobKind::Read && !fields.sourceImagePath.empty()) {
        CopyJobText(request.sourceImagePath, fields.sourceImagePath.c_str());
    }
    CopyJobText(request.drive, choices.drive);
    request.emergency = choices.emergency;
    request.compatible = choices.compatible;
    request.retries = choices.retries;
    request.rereadMappedSectors = fields.rereadMappedSectors;
    return request;
}
