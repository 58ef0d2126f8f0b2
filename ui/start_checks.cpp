#include "ui/start_checks.h"

#include "engine/bad_sector_map.h"
#include "engine/image_conversion.h"
#include "engine/image_kind.h"
#include "resources/string_ids.h"
#include "ui/job_fields.h"

namespace {

void ShowError(MessageSink& sink, unsigned id, const std::string* path = nullptr) {
    sink.Show({id, MessageStyle::Error, path != nullptr ? path->c_str() : nullptr});
}

bool Confirmed(MessageSink& sink, unsigned id, const std::string* path = nullptr) {
    UserMessage question{id, MessageStyle::Question, path != nullptr ? path->c_str() : nullptr};
    return sink.Show(question) == MessageAnswer::Yes;
}

// The jobs keep paths in MAX_PATH buffers; a longer one could only be cut into another
// file's name.
bool TooLong(const std::string& path, unsigned id, MessageSink& sink) {
    if (path.size() <= kLongestImagePath) return false;
    ShowError(sink, id, &path);
    return true;
}

// Runs the job the checks let through and says what its end calls for: "Operation
// cancelled", or the completion sound. A failure has been shown by the job itself.
int RunAndComplete(JobKind kind, const JobFields& fields, const Settings& settings,
                   StartHost& host) {
    const JobOutcome outcome = host.RunJob(MakeJobRequest(kind, fields, settings));
    if (outcome.end == JobEnd::Cancelled) {
        host.Messages().Show({IDS_OPERATION_CANCELLED, MessageStyle::Warning});
    } else if (outcome.end == JobEnd::Finished && settings.Sound) {
        host.PlayCompletionSound(fields.commandLineMode);
    }
    return static_cast<int>(outcome.end);
}

}  // namespace

namespace {

// The kinds a job may use: a write reads ".img" and ".imz"; a read also makes ".exe".
int CheckExtension(const std::string& path, JobFields& fields, MessageSink& sink,
                   unsigned tooLongId, unsigned refusedId, bool selfExtractingAllowed) {
    if (TooLong(path, tooLongId, sink)) return -1;
    const ImageKind kind = ImageKindOf(path.c_str());
    if (kind == ImageKind::Raw || kind == ImageKind::Compressed ||
        (selfExtractingAllowed && kind == ImageKind::SelfExtracting)) {
        fields.compressed = kind != ImageKind::Raw;
        return 0;
    }
    ShowError(sink, refusedId);
    return -1;
}

// An emergency read onto an ".img" whose map lists sectors that an earlier read could
// not read may read only those again. Suppressed questions take the answer that loses
// nothing of what was rescued before: yes.
bool RereadsMappedSectors(const std::string& path, const Settings& settings, MessageSink& sink) {
    if (!settings.Emergency || ImageKindOf(path.c_str()) != ImageKind::Raw) return false;
    char mapPath[kBadSectorMapPathSize];
    BadSectorList earlier;
    if (!BadSectorMapPath(path.c_str(), mapPath) ||
        ReadBadSectorMap(mapPath, kMostDiskSectors, earlier) != 0 || earlier.Count() == 0) {
        return false;
    }
    if (settings.Suppress) return true;
    const UserMessage question{IDS_ASK_REREAD_BAD_SECTORS, MessageStyle::Question, mapPath,
                               static_cast<long>(earlier.Count())};
    return sink.Show(question) == MessageAnswer::Yes;
}

}  // namespace

int CheckReadableExtension(const std::string& path, JobFields& fields, MessageSink& sink) {
    return CheckExtension(path, fields, sink, IDS_UNABLE_TO_OPEN, IDS_ONLY_IMG_IMZ_READABLE, false);
}

int CheckCreatableExtension(const std::string& path, JobFields& fields, MessageSink& sink) {
    return CheckExtension(path, fields, sink, IDS_UNABLE_TO_CREATE,
                          IDS_ONLY_IMG_IMZ_EXE_CREATABLE, true);
}

int CheckImageOpens(const std::string& path, StartHost& host) {
    if (host.FileOpensForReading(path)) return 0;
    ShowError(host.Messages(), IDS_UNABLE_TO_OPEN, &path);
    return -1;
}

int StartWrite(JobFields& fields, const Settings& settings, StartHost& host) {
    MessageSink& sink = host.Messages();
    if (IsOnFloppyDrive(fields.writeImagePath.c_str())) {
        ShowError(sink, IDS_COPY_IMAGE_TO_HARDDRIVE);
        return -1;
    }
    if (!settings.Suppress && !Confirmed(sink, IDS_ASK_OVERWRITE_FLOPPY)) return -1;
    return RunAndComplete(JobKind::Write, fields, settings, host);
}

int StartRead(JobFields& fields, const std::string& descriptionEditText, const Settings& settings,
              StartHost& host) {
    MessageSink& sink = host.Messages();
    const std::string& path = fields.readImagePath;
    // A conversion reads no drive: its image may go onto a floppy, in any mode.
    const bool convert = !fields.sourceImagePath.empty();
    // Before any question: replacing the source with its own conversion is never meant.
    if (convert && SamePathSpelling(fields.sourceImagePath.c_str(), path.c_str())) {
        ShowError(sink, IDS_CONVERT_ONTO_SOURCE, &path);
        return -1;
    }
    if (!convert && IsOnFloppyDrive(path.c_str())) {
        ShowError(sink, IDS_CANNOT_SAVE_TO_SOURCE_FLOPPY);
        return -1;
    }
    const ImageKind kind = ImageKindOf(path.c_str());
    if (!settings.Suppress && settings.Compatible && kind == ImageKind::Raw &&
        !Confirmed(sink, IDS_ASK_COMPATIBLE_NO_DESCRIPTION)) {
        return -1;
    }
    if (!convert && settings.Emergency && (kind == ImageKind::Compressed || kind == ImageKind::SelfExtracting)) {
        ShowError(sink, IDS_EMERGENCY_ONLY_IMG);
        return -1;
    }
    fields.rereadMappedSectors = false;
    if (host.FileOpensForReading(path)) {
        if (host.FileIsReadOnly(path)) {
            ShowError(sink, IDS_TARGET_READ_ONLY, &path);
            return -1;
        }
        // A conversion has no failing disk to go back to.
        fields.rereadMappedSectors = !convert && RereadsMappedSectors(path, settings, sink);
        if (!fields.rereadMappedSectors && !Confirmed(sink, IDS_ASK_REPLACE_EXISTING, &path)) {
            return -1;
        }
    }
    if (!fields.commandLineMode) fields.description = descriptionEditText;
    return RunAndComplete(JobKind::Read, fields, settings, host);
}

int SaveFilterIndexFor(const std::string& path, int current) {
    switch (ImageKindOf(path.c_str())) {
    case ImageKind::Compressed:
        return 1;
    case ImageKind::Raw:
        return 2;
    case ImageKind::SelfExtracting:
        return 3;
    default:
        return current;
    }
}
