#include "engine/job/job_start.h"

#include "engine/image/bad_sector_map.h"
#include "engine/image/image_kind.h"
#include "resources/string_ids.h"

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

int CheckKind(const std::string& path, JobFields& fields, MessageSink& sink, bool (*takes)(ImageKind),
              unsigned refusedId) {
    const ImageKind kind = ImageKindOf(path.c_str());
    if (!takes(kind)) {
        ShowError(sink, refusedId);
        return -1;
    }
    fields.compressed = kind != ImageKind::Raw;
    return 0;
}

// An emergency read onto a raw image whose map lists sectors that an earlier read could
// not read may read only those again. The map is the record: a bare raw image (".ima",
// ".vfd", ".flp") has no trailer to count them. Suppressed questions take the answer that loses
// nothing of what was rescued before: yes.
bool RereadsMappedSectors(const std::string& path, const StartChoices& choices, MessageSink& sink) {
    if (!choices.emergency || ImageKindOf(path.c_str()) != ImageKind::Raw) return false;
    char mapPath[kBadSectorMapPathSize];
    BadSectorList earlier;
    if (!BadSectorMapPath(path.c_str(), mapPath) ||
        ReadBadSectorMap(mapPath, kMostDiskSectors, earlier) != 0 || earlier.Count() == 0) {
        return false;
    }
    if (choices.suppress) return true;
    const UserMessage question{IDS_ASK_REREAD_BAD_SECTORS, MessageStyle::Question, mapPath,
                               static_cast<long>(earlier.Count())};
    return sink.Show(question) == MessageAnswer::Yes;
}

// Runs the job the checks let through and says what its end calls for: "Operation
// cancelled", or the completion sound. A failure has been shown by the job itself.
int RunAndComplete(JobKind kind, const JobFields& fields, const StartChoices& choices,
                   StartHost& host) {
    const JobOutcome outcome = host.RunJob(MakeJobRequest(kind, fields, choices));
    if (outcome.end == JobEnd::Cancelled) {
        host.Messages().Show({IDS_OPERATION_CANCELLED, MessageStyle::Warning});
    } else if (outcome.end == JobEnd::Finished && choices.sound) {
        host.PlayCompletionSound(fields.commandLineMode);
    }
    return static_cast<int>(outcome.end);
}

}  // namespace

int CheckWritableKind(const std::string& path, JobFields& fields, MessageSink& sink) {
    return CheckKind(path, fields, sink, IsWritableImageKind, IDS_ONLY_IMG_IMZ_READABLE);
}

int CheckCreatableKind(const std::string& path, JobFields& fields, MessageSink& sink) {
    return CheckKind(path, fields, sink, IsCreatableImageKind, IDS_ONLY_IMG_IMZ_EXE_CREATABLE);
}

int CheckReadableExtension(const std::string& path, JobFields& fields, MessageSink& sink) {
    if (TooLong(path, IDS_UNABLE_TO_OPEN, sink)) return -1;
    return CheckWritableKind(path, fields, sink);
}

int CheckCreatableExtension(const std::string& path, JobFields& fields, MessageSink& sink) {
    if (TooLong(path, IDS_UNABLE_TO_CREATE, sink)) return -1;
    return CheckCreatableKind(path, fields, sink);
}

int CheckImageOpens(const std::string& path, StartFiles& files, MessageSink& sink) {
    if (files.FileOpensForReading(path)) return 0;
    ShowError(sink, IDS_UNABLE_TO_OPEN, &path);
    return -1;
}

int CheckConversionTarget(const std::string& source, const std::string& target, StartFiles& files,
                          MessageSink& sink) {
    if (!files.SameFile(source, target)) return 0;
    ShowError(sink, IDS_CONVERT_ONTO_SOURCE, &target);
    return -1;
}

int CheckEmergencyKind(const std::string& path, const StartChoices& choices, MessageSink& sink) {
    const ImageKind kind = ImageKindOf(path.c_str());
    if (!choices.emergency || kind == ImageKind::None || IsEmergencyImageKind(kind)) return 0;
    ShowError(sink, IDS_EMERGENCY_ONLY_IMG);
    return -1;
}

int CheckExistingTarget(JobFields& fields, const StartChoices& choices, StartFiles& files,
                        MessageSink& sink) {
    const std::string& path = fields.readImagePath;
    fields.rereadMappedSectors = false;
    if (!files.FileExists(path)) return 0;
    if (files.FileIsReadOnly(path)) {
        ShowError(sink, IDS_TARGET_READ_ONLY, &path);
        return -1;
    }
    const bool convert = !fields.sourceImagePath.empty();
    fields.rereadMappedSectors = !convert && RereadsMappedSectors(path, choices, sink);
    if (!fields.rereadMappedSectors && !Confirmed(sink, IDS_ASK_REPLACE_EXISTING, &path)) return -1;
    return 0;
}

int StartWrite(JobFields& fields, const StartChoices& choices, StartHost& host) {
    MessageSink& sink = host.Messages();
    if (IsOnFloppyDrive(fields.writeImagePath.c_str())) {
        ShowError(sink, IDS_COPY_IMAGE_TO_HARDDRIVE);
        return -1;
    }
    if (!choices.suppress && !Confirmed(sink, IDS_ASK_OVERWRITE_FLOPPY)) return -1;
    return RunAndComplete(JobKind::Write, fields, choices, host);
}

int StartRead(JobFields& fields, const std::string& descriptionEditText, const StartChoices& choices,
              StartHost& host) {
    MessageSink& sink = host.Messages();
    const std::string& path = fields.readImagePath;
    // A conversion reads no drive: its image may go onto a floppy, in any mode.
    const bool convert = !fields.sourceImagePath.empty();
    if (convert && CheckConversionTarget(fields.sourceImagePath, path, host, sink) != 0) return -1;
    if (!convert && IsOnFloppyDrive(path.c_str())) {
        ShowError(sink, IDS_CANNOT_SAVE_TO_SOURCE_FLOPPY);
        return -1;
    }
    // Compatible mode leaves out the trailer of ".img" alone: other programs' raw names
    // never get one, so their description is not lost to it.
    if (!choices.suppress && choices.compatible && HasExtension(path.c_str(), ".img") &&
        !Confirmed(sink, IDS_ASK_COMPATIBLE_NO_DESCRIPTION)) {
        return -1;
    }
    if (!convert && CheckEmergencyKind(path, choices, sink) != 0) return -1;
    if (CheckExistingTarget(fields, choices, host, sink) != 0) return -1;
    if (!fields.commandLineMode) fields.description = descriptionEditText;
    return RunAndComplete(JobKind::Read, fields, choices, host);
}
