#include "ui/job_fields.h"

#include "engine/image_kind.h"
#include "engine/job_text.h"

JobRequest MakeJobRequest(JobKind kind, const JobFields& fields, const Settings& settings) {
    JobRequest request;
    request.kind = kind;
    const std::string& path = kind == JobKind::Read ? fields.readImagePath : fields.writeImagePath;
    CopyJobText(request.imagePath, path.c_str());
    request.compressed = fields.compressed;
    CopyJobText(request.description, fields.description.c_str());
    request.imageSectorsPerTrack = fields.imageSectorsPerTrack;
    request.imageChecksum = fields.imageChecksum;
    request.verify = settings.Verify != 0;
    if (kind == JobKind::Read && !fields.sourceImagePath.empty()) {
        CopyJobText(request.sourceImagePath, fields.sourceImagePath.c_str());
        request.sourceCompressed = ImageKindOf(fields.sourceImagePath.c_str()) != ImageKind::Raw;
    }
    CopyJobText(request.drive, settings.FDLetter);
    request.emergency = settings.Emergency != 0;
    request.compatible = settings.Compatible != 0;
    request.retries = settings.Retries;
    request.rereadMappedSectors = fields.rereadMappedSectors;
    return request;
}
