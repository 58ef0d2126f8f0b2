// The command line and its switch scan, over any words (the input split at zero bytes),
// and the restorer stub's drive choice over the same words. The job's image is always a
// word of the line, and the settings keep their two-valued ranges.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/settings.h"
#include "stub/stub_command_line.h"

namespace {

bool IsSwitchValue(uint32_t value) { return value == 0 || value == 1; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> texts(1, "vorlix.exe");
    const char* text = reinterpret_cast<const char*>(data);
    size_t start = 0;
    for (size_t i = 0; i <= size; ++i) {
        if (i == size || data[i] == 0) {
            if (i > start || i < size) {
                texts.emplace_back(text + start, i - start);
            }
            start = i + 1;
        }
    }
    // The words as the runtime hands them over, each in a buffer of its own size.
    std::vector<std::vector<char>> buffers;
    std::vector<const char*> argv;
    for (const std::string& word : texts) {
        buffers.emplace_back(word.c_str(), word.c_str() + word.size() + 1);
    }
    for (std::vector<char>& buffer : buffers) {
        argv.push_back(buffer.data());
    }
    const std::vector<std::string> words = CommandLineWords(static_cast<int>(argv.size()), argv.data());

    Settings settings;
    const CommandLineRequest request = InterpretCommandLine(words, settings);
    if (!IsSwitchValue(settings.Sound) || !IsSwitchValue(settings.Suppress) ||
        !IsSwitchValue(settings.Emergency) || !IsSwitchValue(settings.Verify) ||
        !IsSwitchValue(settings.Compatible) || !IsSwitchValue(settings.WindowFx)) {
        abort();
    }
    if ((strcmp(settings.FDLetter, "A:") != 0 && strcmp(settings.FDLetter, "B:") != 0)) {
        abort();
    }
    const auto isWord = [&words](const std::string& w) {
        return std::find(words.begin() + 1, words.end(), w) != words.end();
    };
    if (request.job != CommandLineJob::None && !isWord(request.imagePath)) {
        abort();
    }
    const JobChoice choice = ChooseJob(words);
    if (choice.job != CommandLineJob::None && !isWord(choice.image)) {
        abort();
    }
    const std::string handed = HandOverText(words);
    if (!handed.empty() && !isWord(handed)) {
        abort();
    }
    std::string description;
    Settings scanned;
    ParseSwitches(words, scanned, description);

    std::vector<char*> stubArgv;
    for (std::vector<char>& buffer : buffers) {
        stubArgv.push_back(buffer.data());
    }
    stubArgv.push_back(nullptr);
    const char* drive = StubDriveText(static_cast<int>(buffers.size()), stubArgv.data());
    if (drive == nullptr || (strcmp(drive, "A:") != 0 && strcmp(drive, "B:") != 0)) {
        abort();
    }
    return 0;
}
