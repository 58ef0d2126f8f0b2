#include "app/command_line.h"

#include "engine/image/ascii_text.h"
#include "engine/job/batch_naming.h"

namespace {

enum class Switch {
    None, DriveB, Suppress, Sound, Compatible, Emergency, Verify, Batch, Description, Source, Write, Read, Check,
    List, Extract, Make, Kilobytes
};

struct SwitchRow {
    const char* word;
    Switch meaning;
};

const SwitchRow kSwitches[] = {
    {"/b", Switch::DriveB},     {"/f", Switch::Suppress},  {"/s", Switch::Sound},
    {"/c", Switch::Compatible}, {"/e", Switch::Emergency}, {"/v", Switch::Verify},
    {"/n", Switch::Batch},
    {"/d", Switch::Description}, {"/i", Switch::Source},
    {"/w", Switch::Write},      {"/r", Switch::Read},      {"/t", Switch::Check},
    {"/l", Switch::List},       {"/x", Switch::Extract},   {"/m", Switch::Make},
    {"/k", Switch::Kilobytes},
};

Switch SwitchOf(const std::string& word) {
    for (const SwitchRow& row : kSwitches) {
        if (EqualsIgnoringCase(word.c_str(), row.word)) {
            return row.meaning;
        }
    }
    return Switch::None;
}

bool BeginsWithSlash(const std::string& word) {
    return !word.empty() && word[0] == '/';
}

bool TakesValue(Switch meaning) {
    return meaning == Switch::Description || meaning == Switch::Source || meaning == Switch::Write ||
           meaning == Switch::Read || meaning == Switch::Check || meaning == Switch::List ||
           meaning == Switch::Extract || meaning == Switch::Make || meaning == Switch::Kilobytes;
}

// The words after "/x": the image and the folder.
size_t ValueCount(Switch meaning) {
    return meaning == Switch::Extract ? 2 : 1;
}

// "/k" takes a whole number of kB; whether Vorlix makes that format is the make's to say.
bool TakeKilobytes(const std::string& word, int* kilobytes) {
    const long number = WholeNumberOf(word.c_str(), 100000);
    if (number < 0) return false;
    *kilobytes = static_cast<int>(number);
    return true;
}

// The first "/l IMAGE", "/x IMAGE FOLDER" or "/m FOLDER" with all its words; for "/m"
// the image is the first "/r" value and "/k" the format. Contents jobs come before the
// drive's: "/m FOLDER /r IMAGE" makes an image, it reads no disk.
void ChooseContentsJob(const std::vector<std::string>& words, CommandLineRequest& request) {
    for (size_t i = 1; i < words.size(); ++i) {
        const Switch meaning = SwitchOf(words[i]);
        if (meaning != Switch::List && meaning != Switch::Extract && meaning != Switch::Make) continue;
        if (i + ValueCount(meaning) >= words.size()) return;
        request.job = meaning == Switch::List      ? CommandLineJob::List
                      : meaning == Switch::Extract ? CommandLineJob::Extract
                                                   : CommandLineJob::Make;
        request.imagePath = meaning == Switch::Make ? std::string() : words[i + 1];
        request.folder = meaning == Switch::Extract ? words[i + 2] : meaning == Switch::Make ? words[i + 1] : "";
        break;
    }
    if (request.job != CommandLineJob::Make) return;
    bool sizeTaken = true;
    for (size_t i = 1; i + 1 < words.size(); ++i) {
        const Switch meaning = SwitchOf(words[i]);
        if (meaning == Switch::Read && request.imagePath.empty()) request.imagePath = words[i + 1];
        if (meaning == Switch::Kilobytes) sizeTaken = TakeKilobytes(words[i + 1], &request.formatKilobytes);
    }
    // A size that is no number is refused as the terminal program refuses it: the help.
    if (request.imagePath.empty() || !sizeTaken) {
        request.job = CommandLineJob::None;
        request.imagePath.clear();
        request.folder.clear();
        request.switchesResult = -1;
    }
}

void ApplyFlag(Switch meaning, Settings& settings) {
    switch (meaning) {
        case Switch::DriveB: SelectDrive(settings, true); break;
        case Switch::Suppress: settings.Suppress = 1; break;
        case Switch::Sound: settings.Sound = 1; break;
        case Switch::Compatible: settings.Compatible = 1; break;
        case Switch::Emergency: settings.Emergency = 1; break;
        case Switch::Verify: settings.Verify = 1; break;
        default: break;
    }
}

}  // namespace

StartCase StartCaseOf(const std::vector<std::string>& words) {
    if (words.size() <= 1) {
        return StartCase::NoArguments;
    }
    if (words.size() == 2 && !BeginsWithSlash(words[1])) {
        return StartCase::ImageArgument;
    }
    return StartCase::CommandLineMode;
}

int ParseSwitches(const std::vector<std::string>& words, Settings& settings, std::string& description,
                  std::string* sourceImage, bool* batch) {
    bool jobPresent = false;
    for (size_t i = 1; i < words.size(); ++i) {
        const Switch meaning = SwitchOf(words[i]);
        if (meaning == Switch::None) {
            break;
        }
        if (meaning == Switch::Batch) {
            if (batch != nullptr) *batch = true;
            continue;
        }
        if (!TakesValue(meaning)) {
            ApplyFlag(meaning, settings);
            continue;
        }
        if (i + ValueCount(meaning) >= words.size()) {
            break;
        }
        i += ValueCount(meaning);
        if (meaning == Switch::Kilobytes) {
            continue;
        }
        if (meaning == Switch::Description) {
            description = words[i];
        } else if (meaning == Switch::Source) {
            if (sourceImage != nullptr) *sourceImage = words[i];
        } else {
            jobPresent = true;
        }
    }
    return jobPresent ? 0 : -1;
}

JobChoice ChooseJob(const std::vector<std::string>& words) {
    JobChoice choice;
    for (size_t i = 1; i + 1 < words.size(); ++i) {
        const Switch meaning = SwitchOf(words[i]);
        if (meaning == Switch::Write || meaning == Switch::Read || meaning == Switch::Check) {
            choice.job = meaning == Switch::Write  ? CommandLineJob::Write
                         : meaning == Switch::Read ? CommandLineJob::Read
                                                   : CommandLineJob::Check;
            choice.image = words[i + 1];
            break;
        }
    }
    return choice;
}

CommandLineRequest InterpretCommandLine(const std::vector<std::string>& words, Settings& settings) {
    CommandLineRequest request;
    request.startCase = StartCaseOf(words);
    if (request.startCase == StartCase::ImageArgument) {
        request.imagePath = words[1];
    }
    if (request.startCase != StartCase::CommandLineMode) {
        return request;
    }
    // An unattended run does not depend on the drive, questions, sound or read mode the
    // user last chose for interactive work, nor on a verify pass it did not ask for; a
    // script says what it wants by switches.
    // Compatible and WindowFx carry over.
    SelectDrive(settings, false);
    settings.Suppress = 0;
    settings.Sound = 0;
    settings.Emergency = 0;
    settings.Verify = 0;
    settings.Retries = Settings{}.Retries;  // "/e" retries as many times as a fresh profile
    request.switchesResult =
        ParseSwitches(words, settings, request.description, &request.sourceImage, &request.batch);
    if (request.switchesResult == 0) {
        const JobChoice choice = ChooseJob(words);
        request.job = choice.job;
        request.imagePath = choice.image;
        ChooseContentsJob(words, request);
    }
    // Only a read can take its sectors from an image; "/i" with anything else is a
    // mistake the help explains, never a job run without the image asked for.
    if (!request.sourceImage.empty() && request.job != CommandLineJob::Read) {
        request.switchesResult = -1;
        request.job = CommandLineJob::None;
        request.imagePath.clear();
    }
    // A batch reads disks into the names of one pattern; anything else with "/n" is
    // explained by the help rather than run as something it was not.
    BatchPattern pattern;
    if (request.batch && (request.job != CommandLineJob::Read || !request.sourceImage.empty() ||
                          pattern.Parse(request.imagePath) != 0 ||
                          pattern.ParseOptional(request.description) != 0)) {
        request.switchesResult = -1;
        request.job = CommandLineJob::None;
        request.imagePath.clear();
    }
    return request;
}

bool RunsBesideRunningInstance(const std::vector<std::string>& words) {
    if (StartCaseOf(words) != StartCase::CommandLineMode) return false;
    Settings scratch;
    const CommandLineRequest request = InterpretCommandLine(words, scratch);
    return request.switchesResult == 0 &&
           (request.job == CommandLineJob::Check || request.job == CommandLineJob::List ||
            request.job == CommandLineJob::Extract || request.job == CommandLineJob::Make ||
            (request.job == CommandLineJob::Read && !request.sourceImage.empty()));
}

std::string HandOverText(const std::vector<std::string>& words) {
    if (words.size() < 2) {
        return std::string();
    }
    if (!BeginsWithSlash(words[1])) {
        return words[1];
    }
    for (size_t i = 1; i + 1 < words.size(); ++i) {
        if (EqualsIgnoringCase(words[i].c_str(), "/w")) {
            return words[i + 1];
        }
    }
    return std::string();
}

std::vector<std::string> CommandLineWords(int count, const char* const* words) {
    std::vector<std::string> result;
    for (int i = 0; i < count && words != nullptr && words[i] != nullptr; ++i) {
        result.emplace_back(words[i]);
    }
    return result;
}
