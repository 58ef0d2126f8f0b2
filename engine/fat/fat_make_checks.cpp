#include "engine/fat/fat_make_checks.h"

#include "resources/string_ids.h"

const FloppyType* FormatOfKilobytes(int kilobytes) {
    if (kilobytes <= 0) return nullptr;
    return FindFloppyTypeOfSize(static_cast<uint64_t>(kilobytes) * 1024);
}

int CheckFatFits(const FatSourceItem& root, const FloppyType& type, const FatMakeOptions& options,
                 const std::string& folder, MessageSink& sink) {
    const FatFit fit = MeasureFatTree(root, type, options);
    if (fit.fits) return 0;
    UserMessage message{IDS_MAKE_TOO_LARGE, MessageStyle::Error};
    message.number = static_cast<long>(fit.needed);
    message.secondNumber = static_cast<long>(fit.available);
    if (fit.rootEntries > fit.rootEntriesAvailable) {
        message = UserMessage{IDS_MAKE_ROOT_FULL, MessageStyle::Error, folder.c_str()};
        message.number = static_cast<long>(fit.rootEntriesAvailable);
    }
    sink.Show(message);
    return -1;
}
