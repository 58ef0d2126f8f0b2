#include "linux/command_arguments.h"

#include <stdint.h>
#include <string.h>

#include "engine/image/ascii_text.h"
#include "engine/job/batch_naming.h"
#include "engine/job/read_retries.h"

namespace {

struct CommandName {
    const char* name;
    Command command;
    size_t operands;
    size_t mostOperands = 0;  // more than `operands` may follow: extract's paths
};

const CommandName kCommands[] = {
    {"read", Command::Read, 1},   {"write", Command::Write, 1}, {"check", Command::Check, 1},
    {"convert", Command::Convert, 2}, {"info", Command::Info, 1},
    {"drives", Command::Drives, 0},
    {"list", Command::List, 1}, {"extract", Command::Extract, 1, SIZE_MAX}, {"make", Command::Make, 2},
};

enum class Option {
    Quiet, Yes, Help, Version, Device, Description, Emergency, Retries, Verify, NoVerify,
    Json, Deleted, Output, Format, Label, Batch, First, Manifest, Log,
};

struct OptionName {
    char shortName;  // 0: long form only
    const char* longName;
    Option option;
    bool takesValue;
};

const OptionName kOptions[] = {
    {'q', "quiet", Option::Quiet, false},
    {'y', "yes", Option::Yes, false},
    {'h', "help", Option::Help, false},
    {'V', "version", Option::Version, false},
    {'d', "device", Option::Device, true},
    {'m', "description", Option::Description, true},
    {'e', "emergency", Option::Emergency, false},
    {0, "retries", Option::Retries, true},
    {0, "verify", Option::Verify, false},
    {0, "no-verify", Option::NoVerify, false},
    {0, "json", Option::Json, false},
    {0, "deleted", Option::Deleted, false},
    {'o', "output", Option::Output, true},
    {'f', "format", Option::Format, true},
    {0, "label", Option::Label, true},
    {0, "batch", Option::Batch, false},
    {0, "first", Option::First, true},
    {0, "manifest", Option::Manifest, true},
    {0, "log", Option::Log, false},
};

// Which commands an option is for; the four global ones are for all.
bool OptionFits(Option option, Command command) {
    switch (option) {
    case Option::Device:
        return command == Command::Read || command == Command::Write || command == Command::List;
    case Option::Description:
        return command == Command::Read || command == Command::Convert || command == Command::Make;
    case Option::Json:
    case Option::Deleted:
        return command == Command::List;
    case Option::Output:
        return command == Command::Extract;
    case Option::Format:
    case Option::Label:
        return command == Command::Make;
    case Option::Emergency:
    case Option::Retries:
    case Option::Batch:
    case Option::First:
    case Option::Manifest:
    case Option::Log:
        return command == Command::Read;
    case Option::Verify:
    case Option::NoVerify:
        return command == Command::Write;
    default:
        return true;
    }
}

const char* CommandWord(Command command) {
    for (const CommandName& entry : kCommands) {
        if (entry.command == command) return entry.name;
    }
    return "";
}

class Parser {
public:
    Parser(const std::vector<std::string>& words, Arguments* out, std::string* error)
        : words_(words), out_(out), error_(error) {}

    int Run() {
        *out_ = Arguments();
        if (words_.empty()) return 0;  // the help
        bool optionsEnded = false;
        for (index_ = 0; index_ < words_.size(); ++index_) {
            const std::string& word = words_[index_];
            if (!optionsEnded && word == "--") {
                optionsEnded = true;
            } else if (!optionsEnded && word.size() > 2 && word.compare(0, 2, "--") == 0) {
                if (LongOption(word.substr(2)) != 0) return -1;
            } else if (!optionsEnded && word.size() > 1 && word[0] == '-') {
                if (ShortOptions(word) != 0) return -1;
            } else if (Operand(word) != 0) {
                return -1;
            }
        }
        return Finish();
    }

private:
    int Refuse(const std::string& text) {
        *error_ = text;
        return -1;
    }

    int Operand(const std::string& word) {
        if (!commandSeen_) {
            for (const CommandName& entry : kCommands) {
                if (word == entry.name) {
                    commandSeen_ = true;
                    command_ = entry.command;
                    operandsWanted_ = entry.operands;
                    operandsAllowed_ = entry.mostOperands > entry.operands ? entry.mostOperands : entry.operands;
                    return 0;
                }
            }
            return Refuse("unknown command '" + word + "'");
        }
        if (out_->operands.size() == operandsAllowed_) {
            return Refuse("extra operand '" + word + "'");
        }
        if (word.empty()) return Refuse(std::string(CommandWord(command_)) + ": an empty image name");
        out_->operands.push_back(word);
        return 0;
    }

    int LongOption(const std::string& body) {
        const size_t equals = body.find('=');
        const std::string name = body.substr(0, equals);
        for (const OptionName& entry : kOptions) {
            if (name != entry.longName) continue;
            const std::string shown = "--" + name;
            if (!entry.takesValue) {
                if (equals != std::string::npos) return Refuse("option '" + shown + "' takes no value");
                return Take(entry, shown, "");
            }
            if (equals != std::string::npos) return Take(entry, shown, body.substr(equals + 1));
            if (index_ + 1 >= words_.size()) return Refuse("option '" + shown + "' needs a value");
            return Take(entry, shown, words_[++index_]);
        }
        return Refuse("unknown option '--" + name + "'");
    }

    int ShortOptions(const std::string& word) {
        for (size_t i = 1; i < word.size(); ++i) {
            const OptionName* found = nullptr;
            for (const OptionName& entry : kOptions) {
                if (entry.shortName != 0 && entry.shortName == word[i]) found = &entry;
            }
            const std::string shown = std::string("-") + word[i];
            if (found == nullptr) return Refuse("unknown option '" + shown + "'");
            if (!found->takesValue) {
                if (Take(*found, shown, "") != 0) return -1;
                continue;
            }
            if (i + 1 < word.size()) return Take(*found, shown, word.substr(i + 1));
            if (index_ + 1 >= words_.size()) return Refuse("option '" + shown + "' needs a value");
            return Take(*found, shown, words_[++index_]);
        }
        return 0;
    }

    // Options are judged against the command once it is known: they may come first.
    int Take(const OptionName& entry, const std::string& shown, const std::string& value) {
        taken_.push_back({entry.option, shown});
        switch (entry.option) {
        case Option::Quiet:
            out_->quiet = true;
            break;
        case Option::Yes:
            out_->yes = true;
            break;
        case Option::Help:
            helpWanted_ = true;
            break;
        case Option::Version:
            versionWanted_ = true;
            break;
        case Option::Device:
            if (value.empty()) return Refuse("option '" + shown + "' needs a device");
            out_->device = value;
            out_->deviceGiven = true;
            break;
        case Option::Description:
            out_->description = value;
            break;
        case Option::Emergency:
            out_->emergency = true;
            break;
        case Option::Retries:
            return TakeRetries(value);
        case Option::Json:
            out_->json = true;
            break;
        case Option::Deleted:
            out_->deleted = true;
            break;
        case Option::Output:
            if (value.empty()) return Refuse("option '" + shown + "' needs a folder");
            out_->outputFolder = value;
            break;
        case Option::Format:
            return TakeFormat(value);
        case Option::Label:
            out_->label = value;
            break;
        case Option::Batch:
            out_->batch = true;
            break;
        case Option::First:
            return TakeFirst(value);
        case Option::Manifest:
            if (value.empty()) return Refuse("option '" + shown + "' needs a file name");
            out_->manifest = value;
            break;
        case Option::Log:
            out_->log = true;
            break;
        case Option::Verify:
        case Option::NoVerify: {
            const VerifyChoice choice = entry.option == Option::Verify ? VerifyChoice::On : VerifyChoice::Off;
            if (out_->verify != VerifyChoice::Default && out_->verify != choice) {
                return Refuse("--verify and --no-verify contradict each other");
            }
            out_->verify = choice;
            break;
        }
        }
        return 0;
    }

    int TakeRetries(const std::string& value) {
        const long number = WholeNumberOf(value.c_str(), kMostReadRetries);
        if (!ReadRetriesInRange(number)) {
            return Refuse("--retries wants a whole number from 0 to " + std::to_string(kMostReadRetries) +
                          ", not '" + value + "'");
        }
        out_->retries = static_cast<int>(number);
        return 0;
    }

    // The size in kB; whether Vorlix knows it is the make command's to say.
    int TakeFormat(const std::string& value) {
        const long number = WholeNumberOf(value.c_str(), 100000);
        if (number <= 0) {
            return Refuse("--format wants a size in kB such as 1440, not '" + value + "'");
        }
        out_->formatKilobytes = static_cast<int>(number);
        return 0;
    }

    int TakeFirst(const std::string& value) {
        const long number = WholeNumberOf(value.c_str(), 999999);
        if (number < 1) {
            return Refuse("--first wants a disk number from 1 to 999999, not '" + value + "'");
        }
        out_->first = static_cast<unsigned>(number);
        return 0;
    }

    int FinishBatch() {
        for (const TakenOption& taken : taken_) {
            if (!out_->batch && (taken.option == Option::First || taken.option == Option::Manifest)) {
                return Refuse("option '" + taken.shown + "' applies to --batch only");
            }
        }
        if (!out_->batch || out_->operands.empty()) return 0;
        BatchPattern pattern;
        if (pattern.Parse(out_->operands[0]) != 0) {
            return Refuse("--batch wants one run of '#' in the image name for the disk's number, as in "
                          "box4-##.imz");
        }
        if (pattern.ParseOptional(out_->description) != 0) {
            return Refuse("the description may hold one run of '#' for the disk's number, not more");
        }
        return 0;
    }

    int Finish() {
        if (helpWanted_) {
            out_->command = Command::Help;
            return 0;
        }
        if (versionWanted_) {
            out_->command = Command::Version;
            return 0;
        }
        if (!commandSeen_) return Refuse("no command given");
        out_->command = command_;
        const std::string name = CommandWord(command_);
        for (const TakenOption& taken : taken_) {
            if (!OptionFits(taken.option, command_)) {
                return Refuse("option '" + taken.shown + "' does not apply to " + name);
            }
        }
        if (out_->retries >= 0 && !out_->emergency) {
            return Refuse("--retries applies to emergency reads (-e) only");
        }
        // A listing of the device has no image; without either, the only drive is listed.
        if (command_ == Command::List && (out_->deviceGiven || out_->operands.empty())) {
            if (!out_->operands.empty()) return Refuse("list takes an image or -d DEVICE, not both");
            return 0;
        }
        if (out_->operands.size() < operandsWanted_) {
            if (command_ == Command::Make) return Refuse("make needs a folder and an image");
            return Refuse(name + (operandsWanted_ == 1 ? " needs an image" : " needs a source and a target image"));
        }
        return FinishBatch();
    }

    struct TakenOption {
        Option option;
        std::string shown;
    };

    const std::vector<std::string>& words_;
    Arguments* out_;
    std::string* error_;
    size_t index_ = 0;
    bool commandSeen_ = false;
    bool helpWanted_ = false;
    bool versionWanted_ = false;
    Command command_ = Command::Help;
    size_t operandsWanted_ = 0;
    size_t operandsAllowed_ = 0;
    std::vector<TakenOption> taken_;
};

// A word inside single quotes, as a shell reads it back.
std::string Quoted(const std::string& word) {
    std::string quoted;
    for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted;
}

}  // namespace

int ParseArguments(const std::vector<std::string>& words, Arguments* out, std::string* error) {
    if (Parser(words, out, error).Run() != 0) return -1;
    out->commandLine = "vorlix";
    for (const std::string& word : words) {
        const bool plain = !word.empty() && word.find_first_of(" \t\n'\"\\$`*?#;&|<>()") == std::string::npos;
        out->commandLine += plain ? " " + word : " '" + Quoted(word) + "'";
    }
    return 0;
}

const char* UsageText() {
    return "Usage: vorlix COMMAND [OPTION]... IMAGE...\n"
           "Make and restore images of PC floppy disks (160 kB to 2880 kB).\n"
           "\n"
           "Commands:\n"
           "  read [-d DEVICE] [-m TEXT] [-e] [--retries N] [--log] IMAGE\n"
           "                     read the disk into IMAGE (.img, .imz or .exe; .ima,\n"
           "                     .vfd and .flp hold exactly the disk's bytes)\n"
           "  read --batch [--first N] [--manifest FILE] [-d DEVICE] [-m TEXT] [-e]\n"
           "       [--retries N] PATTERN\n"
           "                     read disk after disk; the run of # in PATTERN (and in\n"
           "                     TEXT) is the disk's number; a log beside each image and\n"
           "                     a hashdeep manifest (default manifest.txt beside them)\n"
           "  write [-d DEVICE] [--verify | --no-verify] IMAGE\n"
           "                     write IMAGE (.img, .ima, .vfd, .flp, .imz or .zip)\n"
           "                     onto the disk\n"
           "  check IMAGE        check that IMAGE is whole and matches its checksum\n"
           "  convert SOURCE TARGET [-m TEXT]\n"
           "                     make TARGET of another kind from SOURCE (a .zip is\n"
           "                     read, never made)\n"
           "  info IMAGE         show the fields of IMAGE's trailer\n"
           "  drives             list the floppy drives: built-in, USB, and removable\n"
           "                     disks of a floppy's size, each with its disk's format\n"
           "  list [--json] [--deleted] [IMAGE | -d DEVICE]\n"
           "                     list the files and folders on the disk's FAT volume\n"
           "  extract IMAGE [PATH]... [-o DIR]\n"
           "                     copy the volume's files (or the PATHs named) into DIR\n"
           "                     (default: IMAGE's name less its extension)\n"
           "  make FOLDER IMAGE [-f KB] [-m TEXT] [--label LABEL]\n"
           "                     make IMAGE of a new disk holding FOLDER's files\n"
           "\n"
           "Options:\n"
           "  -d, --device=DEVICE       the floppy drive, a block device of a floppy's size,\n"
           "                            or a disk image file (default: the only floppy\n"
           "                            drive found, see 'vorlix drives')\n"
           "  -m, --description=TEXT    the description stored in the image\n"
           "  -e, --emergency           read on past unreadable sectors (they become zeros);\n"
           "                            raw images (.img, .ima, .vfd, .flp) only\n"
           "      --retries=N           emergency mode: try each bad sector N more times\n"
           "                            (0 to 20, default 3)\n"
           "      --verify, --no-verify read the disk back after writing (default: verify)\n"
           "      --json                list: one JSON object, with each file's MD5 and SHA-256\n"
           "      --deleted             list: deleted entries too, marked\n"
           "  -o, --output=DIR          extract: the folder the files go to\n"
           "  -f, --format=KB           make: the disk's size (160, 180, 320, 360, 720,\n"
           "                            1200, 1440, 1680, 2880; default 1440)\n"
           "      --label=LABEL         make: the volume label\n"
           "      --log                 write IMAGE.log: the read's facts and hashes\n"
           "      --first=N             a batch's first disk number (default 1)\n"
           "  -q, --quiet               no progress line\n"
           "  -y, --yes                 answer yes to the overwrite questions; extract:\n"
           "                            replace files that are there\n"
           "  -h, --help                this help\n"
           "  -V, --version             the version\n"
           "\n"
           "Exit status: 0 done, 1 failed or declined (or no floppy drive found),\n"
           "2 cancelled (Ctrl-C), 255 arguments refused.\n";
}
