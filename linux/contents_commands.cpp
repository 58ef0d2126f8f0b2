#include "linux/contents_commands.h"

#include <stdio.h>
#include <time.h>

#include <vector>

#include "engine/device/memory_floppy_device.h"
#include "engine/fat/extract_files.h"
#include "engine/fat/fat_extract.h"
#include "engine/fat/fat_disk_source.h"
#include "engine/fat/fat_make_checks.h"
#include "engine/fat/fat_maker.h"
#include "engine/fat/fat_text.h"
#include "engine/fat/fat_volume.h"
#include "engine/fat/source_folder.h"
#include "engine/fat/volume_image.h"
#include "engine/image/image_kind.h"
#include "engine/image/md5_digest.h"
#include "engine/image/sha256_digest.h"
#include "engine/job/job_start.h"
#include "engine/job/read_floppy_job.h"
#include "linux/json_text.h"
#include "linux/linux_floppy_device.h"
#include "linux/terminal_job_host.h"
#include "linux/terminal_messages.h"
#include "linux/terminal_start_files.h"
#include "resources/string_ids.h"

namespace {

int Tell(MessageSink& sink, unsigned id, const char* text = nullptr, long number = 0, long second = 0) {
    UserMessage message{id, MessageStyle::Error, text};
    message.number = number;
    message.secondNumber = second;
    sink.Show(message);
    return -1;
}


// A descriptor of the device calls, closed when it goes.
class DeviceDescriptor {
public:
    DeviceDescriptor(DeviceCalls& calls, const char* path) : calls_(calls), fd_(calls.Open(path, false, false, false)) {}
    ~DeviceDescriptor() {
        if (fd_ >= 0) calls_.Close(fd_);
    }
    DeviceDescriptor(const DeviceDescriptor&) = delete;
    DeviceDescriptor& operator=(const DeviceDescriptor&) = delete;
    int Get() const { return fd_; }

private:
    DeviceCalls& calls_;
    int fd_;
};

// The whole disk of the device, read with the program's device calls: 0, or -1 told.
int ReadDeviceDisk(TerminalContext& context, const std::string& path, DiskBytes* disk) {
    if (CheckDevice(context.calls, path.c_str(), DeviceAccess::Read, context.sink) != 0) return -1;
    DeviceCalls& calls = context.calls;
    const DeviceDescriptor device(calls, path.c_str());
    if (device.Get() < 0) return Tell(context.sink, IDS_UNABLE_TO_OPEN, path.c_str());
    uint64_t bytes = 0;
    const NodeFacts facts = calls.Inspect(path.c_str());
    if (facts.kind == NodeKind::RegularFile) {
        bytes = facts.size;
    } else if (calls.BlockDeviceBytes(device.Get(), &bytes) != 0) {
        bytes = 0;
    }
    disk->size = bytes <= kLargestFloppyBytes ? bytes : 0;
    disk->data.reset(new uint8_t[disk->size]);
    size_t filled = 0;
    while (filled < disk->size) {
        const long got = calls.ReadAt(device.Get(), disk->data.get() + filled, disk->size - filled, filled);
        if (got <= 0) break;
        filled += static_cast<size_t>(got);
    }
    if (disk->size == 0 || filled != disk->size) return Tell(context.sink, IDS_UNABLE_TO_OPEN, path.c_str());
    return 0;
}

std::string PlainListing(const FatVolume& volume) {
    const FatVolumeInfo& info = volume.Info();
    std::string out = "Volume label: " + (info.label.empty() ? std::string("(none)") : info.label) + "\n";
    out += "Serial:       " + (info.hasSerial ? FatSerialText(info.serial) : std::string("(none)")) + "\n";
    out += "OEM name:     " + (info.oem.empty() ? std::string("(none)") : info.oem) + "\n";
    out += "File system:  FAT12, " + std::to_string(info.bytes) + " bytes, " + std::to_string(info.freeBytes) +
           " free, clusters of " + std::to_string(info.clusterBytes) + "\n\n";
    for (const FatEntry& entry : volume.Entries()) {
        char line[80];
        const std::string when = entry.modified.Valid() ? FatTimeText(entry.modified).replace(10, 1, " ") : "-";
        snprintf(line, sizeof line, "%-19s %-4s %10s  ", when.c_str(), FatAttributeLetters(entry.attributes).c_str(),
                 entry.directory ? "<DIR>" : std::to_string(entry.size).c_str());
        out += line + entry.path + (entry.directory ? "/" : "");
        if (entry.deleted) out += "  [deleted]";
        if (entry.damaged) out += "  [damaged]";
        out += "\n";
    }
    return out;
}

std::string JsonFile(const FatVolume& volume, const FatEntry& entry) {
    std::string out = "{\"path\": " + JsonString(entry.path) + ", \"type\": \"" +
                      (entry.directory ? "directory" : "file") + "\", \"size\": " + std::to_string(entry.size) +
                      ", \"modified\": " + (entry.modified.Valid() ? JsonString(FatTimeText(entry.modified)) : "null") +
                      ", \"attributes\": " + JsonString(FatAttributeLetters(entry.attributes)) +
                      ", \"deleted\": " + (entry.deleted ? "true" : "false") +
                      ", \"damaged\": " + (entry.damaged ? "true" : "false");
    if (entry.directory || entry.deleted) return out + ", \"md5\": null, \"sha256\": null}";
    std::vector<uint8_t> data;
    volume.ReadContents(entry, &data);
    char md5[Md5Digest::kHexLength + 1];
    char sha256[Sha256Digest::kHexLength + 1];
    Md5Hex(data.data(), data.size(), md5);
    Sha256Hex(data.data(), data.size(), sha256);
    return out + ", \"md5\": \"" + md5 + "\", \"sha256\": \"" + sha256 + "\"}";
}

std::string JsonListing(const FatVolume& volume) {
    const FatVolumeInfo& info = volume.Info();
    std::string out = "{\"volume\": {\"label\": " + JsonString(info.label) + ", \"serial\": " +
                      (info.hasSerial ? JsonString(FatSerialText(info.serial)) : "null") +
                      ", \"oem\": " + JsonString(info.oem) + ", \"filesystem\": \"FAT12\", \"bytes\": " +
                      std::to_string(info.bytes) + ", \"free_bytes\": " + std::to_string(info.freeBytes) +
                      ", \"cluster_bytes\": " + std::to_string(info.clusterBytes) + "},\n \"files\": [";
    const char* separator = "\n  ";
    for (const FatEntry& entry : volume.Entries()) {
        out += separator + JsonFile(volume, entry);
        separator = ",\n  ";
    }
    return out + "\n ]}\n";
}

// The image's path less its extension: where extract puts the files by default.
std::string FolderBeside(const std::string& image) {
    const size_t slash = image.find_last_of('/');
    const size_t dot = image.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash) || dot == slash + 1) {
        return image + ".files";
    }
    return image.substr(0, dot);
}

// The new disk as the image, through the read job that makes every kind of image.
int WriteImage(TerminalContext& context, const JobFields& fields, const std::vector<uint8_t>& disk,
               const FloppyType& type) {
    StartChoices choices;
    choices.suppress = true;  // the question of replacing has been asked
    const JobRequest request = MakeJobRequest(JobKind::Read, fields, choices);
    MemoryFloppyDevice device(reinterpret_cast<const char*>(disk.data()), type.totalBytes, type);
    TerminalJobHost host = JobHostOf(context);
    ReadFloppyJob job(request, host, device);
    job.Run();
    context.progress.Break();
    const JobOutcome outcome = job.Outcome();
    if (outcome.end == JobEnd::Cancelled) return kStatusCancelled;
    return outcome.end == JobEnd::Finished ? kStatusDone : kStatusNotDone;
}

}  // namespace

int ListContents(const Arguments& arguments, TerminalContext& context) {
    const std::string source = arguments.deviceGiven ? arguments.device : arguments.operands[0];
    DiskBytes disk;
    TerminalCancel cancel(context);
    const int read = arguments.deviceGiven ? ReadDeviceDisk(context, source, &disk)
                                           : LoadVolumeImage(source.c_str(), context.sink, &cancel, &disk);
    if (read != 0) return read > 0 ? kStatusCancelled : kStatusNotDone;
    FatVolume volume;
    if (OpenFatVolume(volume, disk, arguments.deleted, source, context.sink) != 0) return kStatusNotDone;
    if (!arguments.deviceGiven) MarkMappedSectors(volume, source, disk.size);
    context.writeOut(arguments.json ? JsonListing(volume) : PlainListing(volume));
    return TellFatDamage(volume, context.sink) == 0 ? kStatusDone : kStatusNotDone;
}

int ExtractContents(const Arguments& arguments, TerminalContext& context) {
    const std::string& image = arguments.operands[0];
    DiskBytes disk;
    TerminalCancel cancel(context);
    const int read = LoadVolumeImage(image.c_str(), context.sink, &cancel, &disk);
    if (read != 0) return read > 0 ? kStatusCancelled : kStatusNotDone;
    FatVolume volume;
    if (OpenFatVolume(volume, disk, false, image, context.sink) != 0) return kStatusNotDone;
    MarkMappedSectors(volume, image, disk.size);
    FatExtractRequest request;
    request.targetFolder = arguments.outputFolder.empty() ? FolderBeside(image) : arguments.outputFolder;
    request.paths.assign(arguments.operands.begin() + 1, arguments.operands.end());
    request.replace = arguments.yes;
    SystemExtractFiles files;
    return ExtractFatFiles(volume, request, files, context.sink) == 0 ? kStatusDone : kStatusNotDone;
}

int MakeVolume(const Arguments& arguments, TerminalContext& context) {
    MessageSink& sink = context.sink;
    const std::string& folder = arguments.operands[0];
    const FloppyType* type = FormatOfKilobytes(arguments.formatKilobytes);
    if (type == nullptr) {
        Tell(sink, IDS_MAKE_BAD_FORMAT, std::to_string(arguments.formatKilobytes).c_str());
        return kStatusRefused;
    }
    FatMakeOptions options;
    if (!FatLabelOf(arguments.label, &options.label)) {
        Tell(sink, IDS_MAKE_BAD_LABEL, arguments.label.c_str());
        return kStatusRefused;
    }
    JobFields fields;
    fields.readImagePath = arguments.operands[1];
    fields.description = arguments.description;
    TerminalStartFiles startFiles;
    if (CheckCreatableKind(fields.readImagePath, fields, sink) != 0) return kStatusRefused;
    if (fields.readImagePath.size() >= static_cast<size_t>(kJobPathSize)) {
        Tell(sink, kMsgPathTooLong, fields.readImagePath.c_str());
        return kStatusRefused;
    }
    if (ImageKindOf(fields.readImagePath.c_str()) == ImageKind::SelfExtracting &&
        !startFiles.FileOpensForReading(context.stubCarrier)) {
        Tell(sink, kMsgStubMissing, context.stubCarrier.c_str());
        return kStatusNotDone;
    }
    FatSourceItem root;
    if (ListSourceFolder(folder.c_str(), &root, sink) != 0) return kStatusNotDone;
    if (CheckFatFits(root, *type, options, folder, sink) != 0) return kStatusNotDone;
    StartChoices choices;
    choices.suppress = arguments.yes;
    if (CheckExistingTarget(fields, choices, startFiles, sink) != 0) return kStatusNotDone;
    if (ReadSourceContents(&root, sink) != 0 || CheckFatFits(root, *type, options, folder, sink) != 0) {
        return kStatusNotDone;
    }
    // As DOS does, the serial number comes from the moment the disk is made.
    options.serial = static_cast<uint32_t>(time(nullptr)) * 2654435761u;
    options.labelTime = root.modified;
    std::vector<uint8_t> disk;
    std::string refused;
    if (MakeFatVolume(root, *type, options, &disk, &refused) != 0) {
        Tell(sink, IDS_MAKE_BAD_NAME, refused.c_str());
        return kStatusNotDone;
    }
    return WriteImage(context, fields, disk, *type);
}
