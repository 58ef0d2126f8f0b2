#include "linux/batch_read.h"

#include <vector>

#include "app/version.h"
#include "engine/image/image_kind.h"
#include "engine/job/batch_naming.h"
#include "engine/job/hash_manifest.h"
#include "engine/job/image_log.h"
#include "engine/job/image_papers.h"
#include "engine/job/job_start.h"
#include "linux/linux_floppy_device.h"
#include "linux/terminal_messages.h"
#include "linux/terminal_start_files.h"
#include "resources/string_ids.h"

namespace {

void Tell(MessageSink& sink, unsigned id, const std::string& text, long number = 0) {
    sink.Show(UserMessage{id, MessageStyle::Error, text.c_str(), number});
}

// The log beside a finished image: 0, or -1 once said so.
int WriteLogOf(const JobRequest& request, const Arguments& arguments, const ReadRecord& record,
               ImageLogFacts facts, MessageSink& sink) {
    facts.version = kProgramVersion;
    facts.command = arguments.commandLine;
    facts.device = arguments.device;
    facts.description = request.description;
    return WriteImageLog(request.imagePath, record, facts, sink);
}

struct Tally {
    unsigned made = 0;
    unsigned withBadSectors = 0;
    unsigned failed = 0;
    unsigned skipped = 0;
};

enum class Answer { Read, Skip, Stop, Ended };

class Batch {
public:
    Batch(const Arguments& arguments, TerminalContext& context, const BatchTerminal& terminal)
        : arguments_(arguments), context_(context), terminal_(terminal), sink_(context.sink) {
        names_.Parse(arguments.operands[0]);
        descriptions_.ParseOptional(arguments.description);
        choices_.emergency = arguments.emergency;
        if (arguments.retries >= 0) choices_.retries = static_cast<uint32_t>(arguments.retries);
        manifest_ = !arguments.manifest.empty() ? arguments.manifest
                                                : FolderOfPath(arguments.operands[0]) + kDefaultManifestName;
    }

    int Run() {
        if (CheckPattern() != 0) return status_;
        bool lastFailed = false;
        for (unsigned number = arguments_.first;;) {
            const std::string name = names_.For(number);
            if (!lastFailed && ImageNameTaken(name)) {
                sink_.Show(UserMessage{IDS_BATCH_NAME_TAKEN, MessageStyle::Warning, name.c_str(), number});
                ++tally_.skipped;
                ++number;
                continue;
            }
            const Answer answer = Ask(number, name);
            if (answer == Answer::Read) {
                lastFailed = ReadDisk(number, name) != 0;
                // A cancelled disk is neither made nor failed: the summary counts what ended.
                if (status_ == kStatusCancelled) {
                    lastFailed = false;
                    break;
                }
                if (lastFailed) {
                    sink_.Show(UserMessage{IDS_BATCH_DISK_FAILED, MessageStyle::Warning, name.c_str(), number});
                } else {
                    ++number;
                }
                continue;
            }
            if (lastFailed) ++tally_.failed;
            lastFailed = false;
            if (answer != Answer::Skip) break;
            ++tally_.skipped;
            ++number;
        }
        if (lastFailed) ++tally_.failed;
        return Finish();
    }

private:
    int CheckPattern() {
        TerminalStartFiles files;
        JobFields fields;
        const std::string& pattern = arguments_.operands[0];
        status_ = kStatusRefused;
        if (CheckCreatableKind(pattern, fields, sink_) != 0) return -1;
        // The longest name a number may make; a taller count is refused at its disk.
        if (pattern.size() + 6 >= static_cast<size_t>(kJobPathSize)) {
            Tell(sink_, kMsgPathTooLong, pattern);
            return -1;
        }
        status_ = kStatusNotDone;
        if (CheckEmergencyKind(pattern, choices_, sink_) != 0) return -1;
        if (ImageKindOf(pattern.c_str()) == ImageKind::SelfExtracting &&
            !files.FileOpensForReading(context_.stubCarrier)) {
            Tell(sink_, kMsgStubMissing, context_.stubCarrier);
            return -1;
        }
        status_ = kStatusDone;
        return 0;
    }

    Answer Ask(unsigned number, const std::string& name) {
        const UserMessage prompt{IDS_BATCH_INSERT_DISK, MessageStyle::Question, name.c_str(), number};
        for (;;) {
            std::string answer;
            if (terminal_.ask(FillMessageTemplate(MessageTemplate(IDS_BATCH_INSERT_DISK), prompt), &answer) != 0) {
                if (context_.cancelled()) status_ = kStatusCancelled;
                return Answer::Ended;
            }
            while (!answer.empty() && (answer.back() == '\r' || answer.back() == ' ')) answer.pop_back();
            if (answer.empty()) return Answer::Read;
            if (answer == "s" || answer == "S") return Answer::Skip;
            if (answer == "q" || answer == "Q") return Answer::Stop;
        }
    }

    // One disk into `name`, its log and its manifest rows: 0 when all of them are there.
    int ReadDisk(unsigned number, const std::string& name) {
        TerminalStartFiles files;
        if (files.SameFile(name, arguments_.device)) {
            Tell(sink_, kMsgSameFile, name);
            return -1;
        }
        if (CheckDevice(context_.calls, arguments_.device.c_str(), DeviceAccess::Read, sink_) != 0) return -1;
        JobFields fields;
        fields.readImagePath = name;
        fields.description = descriptions_.For(number);
        if (CheckCreatableKind(name, fields, sink_) != 0) return -1;
        const JobRequest request = MakeJobRequest(JobKind::Read, fields, choices_);
        ReadRecord record;
        ImageLogFacts facts;
        facts.started = terminal_.utcSeconds();
        const JobOutcome outcome = RunJob(request, context_, arguments_.device, &record);
        facts.finished = terminal_.utcSeconds();
        if (outcome.end == JobEnd::Cancelled) {
            status_ = kStatusCancelled;
            return -1;
        }
        if (outcome.end != JobEnd::Finished) return -1;
        ++tally_.made;
        if (record.badSectors.Count() > 0) ++tally_.withBadSectors;
        context_.writeOut(name + ": " + record.format + ", " + std::to_string(record.badSectors.Count()) +
                          " bad sectors, SHA-256 " + record.diskSha256 + "\n");
        if (WriteLogOf(request, arguments_, record, facts, sink_) != 0) return NoteLost();
        return AddToManifest(name) == 0 ? 0 : NoteLost();
    }

    // The image is there, so its number is not offered again; the batch still tells.
    int NoteLost() {
        ++tally_.failed;
        return 0;
    }

    std::string ManifestName(const std::string& path) const {
        const std::string folder = FolderOfPath(terminal_.fullPath(manifest_));
        const std::string full = terminal_.fullPath(path);
        return full.compare(0, folder.size(), folder) == 0 ? full.substr(folder.size()) : full;
    }

    int AddToManifest(const std::string& image) {
        return AddImageToManifest(manifest_, ManifestHeader(terminal_.invokedFrom, arguments_.commandLine), image,
                                  [this](const std::string& path) { return ManifestName(path); }, sink_);
    }

    int Finish() {
        if (status_ == kStatusCancelled) sink_.Show(UserMessage{IDS_OPERATION_CANCELLED, MessageStyle::Information});
        UserMessage summary{IDS_BATCH_SUMMARY, MessageStyle::Information};
        summary.number = tally_.made;
        summary.secondNumber = tally_.withBadSectors;
        summary.thirdNumber = tally_.failed;
        summary.fourthNumber = tally_.skipped;
        context_.writeOut(FillMessageTemplate(MessageTemplate(IDS_BATCH_SUMMARY), summary) + "\n");
        if (status_ == kStatusCancelled) return kStatusCancelled;
        return tally_.failed > 0 || tally_.skipped > 0 ? kStatusNotDone : kStatusDone;
    }

    const Arguments& arguments_;
    TerminalContext& context_;
    const BatchTerminal& terminal_;
    MessageSink& sink_;
    BatchPattern names_;
    BatchPattern descriptions_;
    StartChoices choices_;
    std::string manifest_;
    Tally tally_;
    int status_ = kStatusDone;
};

}  // namespace

int RunBatchRead(const Arguments& arguments, TerminalContext& context, const BatchTerminal& terminal) {
    return Batch(arguments, context, terminal).Run();
}

JobOutcome RunLoggedRead(const JobRequest& request, const Arguments& arguments, TerminalContext& context,
                         const BatchTerminal& terminal) {
    ReadRecord record;
    ImageLogFacts facts;
    facts.started = terminal.utcSeconds();
    const JobOutcome outcome = RunJob(request, context, arguments.device, &record);
    facts.finished = terminal.utcSeconds();
    if (outcome.end != JobEnd::Finished) return outcome;
    if (WriteLogOf(request, arguments, record, facts, context.sink) != 0) {
        return JobOutcome{JobEnd::Failed, IDS_UNABLE_TO_CREATE};
    }
    return outcome;
}
