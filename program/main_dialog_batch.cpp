// The main dialog's reads that leave papers beside their images: a log (the setting
// "WriteLog", always in a batch) and a batch's manifest.
#include <time.h>

#include "app/version.h"
#include "engine/job/batch_naming.h"
#include "engine/job/hash_manifest.h"
#include "engine/job/image_papers.h"
#include "program/main_dialog_model.h"
#include "resources/string_ids.h"

namespace {

constexpr int kReadFinished = static_cast<int>(JobEnd::Finished);
constexpr int kReadCancelled = static_cast<int>(JobEnd::Cancelled);

// The progress caption's disk number, taken back however the batch ends.
class DiskShown {
public:
    explicit DiskShown(const std::function<void(unsigned)>& changed) : changed_(changed) {}
    ~DiskShown() { Show(0); }
    DiskShown(const DiskShown&) = delete;
    DiskShown& operator=(const DiskShown&) = delete;
    void Show(unsigned number) {
        if (changed_) changed_(number);
    }

private:
    const std::function<void(unsigned)>& changed_;
};

}  // namespace

int MainDialogModel::ReadForPapers(const std::string& description, ImageLogFacts* facts) {
    facts->started = static_cast<int64_t>(time(nullptr));
    const int read = ::StartRead(fields, description, StartChoicesOf(settings_), host_);
    facts->finished = static_cast<int64_t>(time(nullptr));
    facts->description = fields.description;
    return read;
}

int MainDialogModel::WriteLogOf(const ImageLogFacts& facts) {
    const StartChoices choices = StartChoicesOf(settings_);
    ReadRecord record;
    if (RecordOfImage(fields.readImagePath, choices.emergency, choices.retries, &record, host_.Messages()) != 0) {
        return -1;
    }
    ImageLogFacts full = facts;
    full.version = kProgramVersion;
    full.device = choices.drive;
    return WriteImageLog(fields.readImagePath, record, full, host_.Messages());
}

int MainDialogModel::StartRead() {
    // A conversion reads no disk: there is no custody to record.
    if (settings_.WriteLog != 1 || !fields.sourceImagePath.empty()) {
        return ::StartRead(fields, panels.readDescription.text, StartChoicesOf(settings_), host_);
    }
    ImageLogFacts facts;
    facts.command = "vorlix /r " + fields.readImagePath;
    const int read = ReadForPapers(panels.readDescription.text, &facts);
    if (read != kReadFinished) return read;
    return WriteLogOf(facts) == 0 ? read : static_cast<int>(JobEnd::Failed);
}

int MainDialogModel::StartBatch(const std::string& pattern, const std::string& description) {
    DiskShown shown(diskChanged);
    BatchPattern names;
    BatchPattern descriptions;
    if (names.Parse(pattern) != 0 || descriptions.ParseOptional(description) != 0) {
        host_.Messages().Show(UserMessage{IDS_BATCH_NEEDS_NUMBER, MessageStyle::Error, pattern.c_str()});
        return -1;
    }
    const std::string manifest = FolderOfPath(pattern) + kDefaultManifestName;
    ImageLogFacts facts;
    facts.command = "vorlix /n /r " + pattern + (description.empty() ? "" : " /d \"" + description + "\"");
    const std::string header = ManifestHeader(FolderOfPath(pattern), facts.command);
    const auto nameOf = [&manifest](const std::string& path) {
        return path.substr(FolderOfPath(manifest).size());
    };
    bool missed = false;
    for (long number = 1;;) {
        fields.readImagePath = names.For(static_cast<unsigned>(number));
        const char* name = fields.readImagePath.c_str();
        if (ImageNameTaken(fields.readImagePath)) {
            host_.Messages().Show(UserMessage{IDS_BATCH_NAME_TAKEN, MessageStyle::Warning, name, number});
            missed = true;
            ++number;
            continue;
        }
        if (fields.commandLineMode) fields.description = descriptions.For(static_cast<unsigned>(number));
        shown.Show(static_cast<unsigned>(number));
        const int read = ReadForPapers(descriptions.For(static_cast<unsigned>(number)), &facts);
        if (read == kReadCancelled) return read;
        UserMessage next{IDS_BATCH_NEXT_DISK, MessageStyle::OkCancel, nullptr, number, number + 1};
        if (read != kReadFinished) {
            next = UserMessage{IDS_BATCH_DISK_FAILED, MessageStyle::OkCancel, name, number};
        } else {
            if (WriteLogOf(facts) != 0 ||
                AddImageToManifest(manifest, header, fields.readImagePath, nameOf, host_.Messages()) != 0) {
                missed = true;
            }
            ++number;
        }
        if (host_.Messages().Show(next) != MessageAnswer::Yes) {
            return read == kReadFinished && !missed ? kReadFinished : static_cast<int>(JobEnd::Failed);
        }
    }
}
