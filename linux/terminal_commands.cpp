#include "linux/terminal_commands.h"

#include "engine/device/floppy_type.h"
#include "engine/image/image_check.h"
#include "engine/image/image_kind.h"
#include "engine/job/floppy_job_runner.h"
#include "engine/job/job_start.h"
#include "engine/job/job_text.h"
#include "engine/job/read_floppy_job.h"
#include "linux/batch_read.h"
#include "linux/batch_terminal_linux.h"
#include "linux/contents_commands.h"
#include "linux/floppy_drive_search.h"
#include "linux/linux_floppy_device.h"
#include "linux/terminal_job_host.h"
#include "linux/terminal_messages.h"
#include "linux/terminal_start_files.h"
#include "platform/message_texts.h"
#include "resources/string_ids.h"

namespace {

int Tell(MessageSink& sink, unsigned id, const char* text = nullptr) {
    sink.Show(UserMessage{id, MessageStyle::Error, text});
    return -1;
}

// The start checks' choices from the command line: -y takes every question's yes,
// the re-read of mapped sectors included.
StartChoices ChoicesOf(const Arguments& arguments) {
    StartChoices choices;
    choices.emergency = arguments.command == Command::Read && arguments.emergency;
    choices.suppress = arguments.yes;
    choices.verify = arguments.command == Command::Write && arguments.verify != VerifyChoice::Off;
    if (arguments.retries >= 0) choices.retries = static_cast<uint32_t>(arguments.retries);
    return choices;
}


int StatusOf(const JobOutcome& outcome, MessageSink& sink) {
    if (outcome.end == JobEnd::Cancelled) {
        sink.Show(UserMessage{IDS_OPERATION_CANCELLED, MessageStyle::Information});
        return kStatusCancelled;
    }
    return outcome.end == JobEnd::Finished ? kStatusDone : kStatusNotDone;
}

bool PathTooLong(const std::string& path, MessageSink& sink) {
    if (path.size() < static_cast<size_t>(kJobPathSize)) return false;
    Tell(sink, kMsgPathTooLong, path.c_str());
    return true;
}

int Read(const Arguments& arguments, TerminalContext& context) {
    MessageSink& sink = context.sink;
    TerminalStartFiles files;
    const StartChoices choices = ChoicesOf(arguments);
    JobFields fields;
    fields.readImagePath = arguments.operands[0];
    fields.description = arguments.description;
    const std::string& image = fields.readImagePath;
    if (CheckCreatableKind(image, fields, sink) != 0 || PathTooLong(image, sink)) return kStatusRefused;
    if (CheckEmergencyKind(image, choices, sink) != 0) return kStatusNotDone;
    if (ImageKindOf(image.c_str()) == ImageKind::SelfExtracting &&
        !files.FileOpensForReading(context.stubCarrier)) {
        Tell(sink, kMsgStubMissing, context.stubCarrier.c_str());
        return kStatusNotDone;
    }
    if (files.SameFile(image, arguments.device)) {
        Tell(sink, kMsgSameFile, image.c_str());
        return kStatusRefused;
    }
    const int target = CheckExistingTarget(fields, choices, files, sink);
    if (context.cancelled()) return StatusOf(JobOutcome{JobEnd::Cancelled, 0}, sink);
    if (target != 0) return kStatusNotDone;
    if (CheckDevice(context.calls, arguments.device.c_str(), DeviceAccess::Read, sink) != 0) {
        return kStatusNotDone;
    }
    const JobRequest request = MakeJobRequest(JobKind::Read, fields, choices);
    if (arguments.log) {
        return StatusOf(RunLoggedRead(request, arguments, context, SystemBatchTerminal(context.cancelled)), sink);
    }
    return StatusOf(RunJob(request, context, arguments.device), sink);
}

int Write(const Arguments& arguments, TerminalContext& context) {
    MessageSink& sink = context.sink;
    TerminalStartFiles files;
    JobFields fields;
    fields.writeImagePath = arguments.operands[0];
    const std::string& image = fields.writeImagePath;
    if (CheckWritableKind(image, fields, sink) != 0 || PathTooLong(image, sink) ||
        CheckImageOpens(image, files, sink) != 0) {
        return kStatusRefused;
    }
    if (files.SameFile(image, arguments.device)) {
        Tell(sink, kMsgSameFile, image.c_str());
        return kStatusRefused;
    }
    char description[kDescriptionBufferSize];
    int sectorsPerTrack = 0;
    if (ReadImageTrailer(image.c_str(), sink, description, &sectorsPerTrack) ==
        kTrailerNewerVersion) {
        return kStatusNotDone;
    }
    const JobRequest request = MakeJobRequest(JobKind::Write, fields, ChoicesOf(arguments));
    if (CheckDevice(context.calls, arguments.device.c_str(), DeviceAccess::Write, sink) != 0) {
        return kStatusNotDone;
    }
    const MessageAnswer answer = sink.Show(UserMessage{IDS_ASK_OVERWRITE_FLOPPY, MessageStyle::Question});
    if (context.cancelled()) return StatusOf(JobOutcome{JobEnd::Cancelled, 0}, sink);
    if (answer != MessageAnswer::Yes) return kStatusNotDone;
    return StatusOf(RunJob(request, context, arguments.device), sink);
}

// A raw image goes by any of four names; the kind line says which.
const char* RawExtension(const std::string& image) {
    const char* bare = BareRawExtensionOf(image.c_str());
    return bare != nullptr ? bare : ".img";
}

std::string KindName(const std::string& image, ImageKind kind) {
    switch (kind) {
    case ImageKind::Raw:
        return std::string("raw disk image (") + RawExtension(image) + ")";
    case ImageKind::Compressed:
        return "compressed image (.imz)";
    case ImageKind::SelfExtracting:
        return "self-extracting image (.exe)";
    case ImageKind::Zip:
        return "ZIP archive holding an image (.zip)";
    default:
        return "";
    }
}

int Info(const Arguments& arguments, TerminalContext& context) {
    const std::string& image = arguments.operands[0];
    const ImageKind kind = ImageKindOf(image.c_str());
    if (kind == ImageKind::None) {
        Tell(context.sink, kMsgNotImageName, image.c_str());
        return kStatusRefused;
    }
    char description[kDescriptionBufferSize];
    int sectorsPerTrack = 0;
    int totalSectors = 0;
    TrailerChecksum checksum;
    const int read = ReadImageTrailer(image.c_str(), context.sink, description, &sectorsPerTrack, &checksum,
                                      nullptr, &totalSectors);
    if (read == kTrailerUnreadable) {
        Tell(context.sink, IDS_UNABLE_TO_OPEN, image.c_str());
        return kStatusNotDone;
    }
    if (read == kTrailerNewerVersion) return kStatusNotDone;
    std::string out = "Image:        " + image + "\nKind:         " + KindName(image, kind) + "\n";
    if (read == kTrailerMissing) {
        context.writeOut(out + "Trailer:      none (a plain disk image without description)\n");
        return kStatusDone;
    }
    out += "Description:  " + std::string(description[0] != '\0' ? description : "(none)") + "\n";
    const FloppyType* type = FindFloppyTypeOfTrailer(sectorsPerTrack, totalSectors);
    if (type != nullptr) {
        char name[kFormatNameSize];
        FormatName(*type, name);
        out += "Format:       " + std::string(name) + "\n";
    } else if (sectorsPerTrack > 0) {
        out += "Format:       unknown, " + std::to_string(sectorsPerTrack) + " sectors per track\n";
    } else {
        out += "Format:       not stated\n";
    }
    switch (checksum.state) {
    case TrailerChecksum::Stored:
        out += "SHA-256:      " + std::string(checksum.hex) + "\n";
        break;
    case TrailerChecksum::None:
        out += "SHA-256:      none (made before checksums)\n";
        break;
    case TrailerChecksum::Malformed:
        out += "SHA-256:      damaged field\n";
        break;
    }
    context.writeOut(out);
    return kStatusDone;
}

// The string table for messages put together from several of its texts.
class TableTexts final : public MessageTexts {
public:
    const char* Text(unsigned id) override {
        const char* text = MessageTemplate(id);
        return text != nullptr ? text : "";
    }
};

// The check's report is the command's output, on stdout; what is wrong goes on to the
// terminal's messages.
class ReportSink final : public MessageSink {
public:
    ReportSink(MessageSink& messages, const std::function<void(const std::string&)>& writeOut)
        : messages_(messages), writeOut_(writeOut) {}
    MessageAnswer Show(const UserMessage& message) override {
        if (message.style != MessageStyle::Information) return messages_.Show(message);
        writeOut_(FormatUserMessage(message) + "\n");
        return MessageAnswer::Ok;
    }

private:
    MessageSink& messages_;
    const std::function<void(const std::string&)>& writeOut_;
};

int Check(const Arguments& arguments, TerminalContext& context) {
    const std::string& image = arguments.operands[0];
    if (ImageKindOf(image.c_str()) == ImageKind::None) {
        Tell(context.sink, IDS_NOT_AN_IMAGE_FILE, image.c_str());
        return kStatusRefused;
    }
    ReportSink sink(context.sink, context.writeOut);
    TableTexts texts;
    TerminalCancel cancel(context);
    const int checked = CheckImageFile(image.c_str(), sink, texts, &cancel);
    if (checked == kStatusCancelled) return StatusOf(JobOutcome{JobEnd::Cancelled, 0}, context.sink);
    return checked == 0 ? kStatusDone : kStatusNotDone;
}

int Convert(const Arguments& arguments, TerminalContext& context) {
    MessageSink& sink = context.sink;
    TerminalStartFiles files;
    const StartChoices choices = ChoicesOf(arguments);
    JobFields fields;
    fields.sourceImagePath = arguments.operands[0];
    fields.readImagePath = arguments.operands[1];
    fields.description = arguments.description;
    const std::string& source = fields.sourceImagePath;
    const std::string& target = fields.readImagePath;
    if (ImageKindOf(source.c_str()) == ImageKind::None) {
        Tell(sink, IDS_NOT_AN_IMAGE_FILE, source.c_str());
        return kStatusRefused;
    }
    if (CheckCreatableKind(target, fields, sink) != 0 || PathTooLong(source, sink) ||
        PathTooLong(target, sink) || CheckImageOpens(source, files, sink) != 0 ||
        CheckConversionTarget(source, target, files, sink) != 0) {
        return kStatusRefused;
    }
    if (ImageKindOf(target.c_str()) == ImageKind::SelfExtracting &&
        !files.FileOpensForReading(context.stubCarrier)) {
        Tell(sink, kMsgStubMissing, context.stubCarrier.c_str());
        return kStatusNotDone;
    }
    const int replace = CheckExistingTarget(fields, choices, files, sink);
    if (context.cancelled()) return StatusOf(JobOutcome{JobEnd::Cancelled, 0}, sink);
    if (replace != 0) return kStatusNotDone;
    const JobRequest request = MakeJobRequest(JobKind::Read, fields, choices);
    return StatusOf(RunJob(request, context, source), sink);
}

std::string DriveLines(DeviceCalls& calls, const std::vector<FloppyDrive>& drives) {
    std::string lines;
    for (const FloppyDrive& drive : drives) lines += DriveLine(drive, InspectMedium(calls, drive)) + "\n";
    return lines;
}

int Drives(TerminalContext& context) {
    const std::vector<FloppyDrive> drives = FindFloppyDrives(context.calls);
    if (drives.empty()) {
        Tell(context.sink, IDS_NO_FLOPPY_DRIVE);
        return kStatusNotDone;
    }
    context.writeOut(DriveLines(context.calls, drives));
    return kStatusDone;
}

// A command on a drive without -d takes the one floppy drive there is; with none or
// several it names what it found and how to choose.
int ChooseDrive(Arguments* arguments, TerminalContext& context) {
    const std::vector<FloppyDrive> drives = FindFloppyDrives(context.calls);
    if (drives.size() == 1) {
        arguments->device = drives[0].device;
        arguments->deviceGiven = true;
        return 0;
    }
    if (drives.empty()) return Tell(context.sink, IDS_NO_DRIVE_TO_USE);
    std::string lines = DriveLines(context.calls, drives);
    lines.pop_back();
    return Tell(context.sink, IDS_SEVERAL_DRIVES, lines.c_str());
}

bool NeedsDrive(const Arguments& arguments) {
    return arguments.command == Command::Read || arguments.command == Command::Write ||
           (arguments.command == Command::List && arguments.operands.empty());
}

// An image name no image can have is the command line's fault (255) whether or not a
// drive is there, so it is judged before one is looked for; the command judges it again.
int CheckImageName(const Arguments& arguments, MessageSink& sink) {
    if (arguments.operands.empty()) return 0;
    JobFields fields;
    const std::string& image = arguments.operands[0];
    if (arguments.command == Command::Read) return CheckCreatableKind(image, fields, sink);
    if (arguments.command == Command::Write) return CheckWritableKind(image, fields, sink);
    return 0;
}

}  // namespace

JobOutcome RunJob(JobRequest request, TerminalContext& context, const std::string& device, ReadRecord* record) {
    // The device path is the job's drive text, which the jobs keep whole.
    CopyJobText(request.drive, device.c_str());
    LinuxFloppyDevices devices(context.calls, device.c_str());
    TerminalJobHost host = JobHostOf(context);
    JobOutcome outcome;
    if (record != nullptr) {
        // The read job itself rather than the runner: its record is what a log needs.
        ReadFloppyJob job(request, host, devices);
        job.Run();
        *record = job.Record();
        outcome = job.Outcome();
    } else {
        outcome = RunFloppyJob(request, host, devices);
    }
    context.progress.Break();
    return outcome;
}

TerminalJobHost JobHostOf(TerminalContext& context) {
    TerminalJobHost::Settings settings;
    settings.programPath = context.stubCarrier;
    settings.files = context.files;
    return TerminalJobHost(context.sink, context.progress, settings, context.cancelled, context.clock);
}

int RunCommand(const Arguments& given, TerminalContext& context) {
    Arguments arguments = given;
    if (NeedsDrive(arguments) && arguments.device.empty()) {
        if (CheckImageName(arguments, context.sink) != 0) return kStatusRefused;
        if (ChooseDrive(&arguments, context) != 0) return kStatusNotDone;
    }
    switch (arguments.command) {
    case Command::Read:
        if (arguments.batch) return RunBatchRead(arguments, context, SystemBatchTerminal(context.cancelled));
        return Read(arguments, context);
    case Command::Write:
        return Write(arguments, context);
    case Command::Info:
        return Info(arguments, context);
    case Command::Check:
        return Check(arguments, context);
    case Command::Convert:
        return Convert(arguments, context);
    case Command::Drives:
        return Drives(context);
    case Command::List:
        return ListContents(arguments, context);
    case Command::Extract:
        return ExtractContents(arguments, context);
    case Command::Make:
        return MakeVolume(arguments, context);
    case Command::Help:
    case Command::Version:
        break;
    }
    return kStatusRefused;
}
