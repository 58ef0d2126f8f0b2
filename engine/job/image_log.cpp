#include "engine/job/image_log.h"

#include <stdio.h>

#include "engine/device/floppy_device.h"
#include "engine/files/target_files.h"

namespace {

// Howard Hinnant's days-to-civil: the run-time libraries of both systems differ in their
// thread-safe gmtime, and the log needs nothing else of them.
void CivilDate(int64_t days, int64_t* year, unsigned* month, unsigned* day) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shifted = (5 * dayOfYear + 2) / 153;
    *day = dayOfYear - (153 * shifted + 2) / 5 + 1;
    *month = shifted < 10 ? shifted + 3 : shifted - 9;
    *year = static_cast<int64_t>(yearOfEra) + era * 400 + (*month <= 2 ? 1 : 0);
}

std::string Line(const char* key, const std::string& value) {
    return std::string(key) + ": " + value + "\n";
}

}  // namespace

std::string IsoUtcTime(int64_t seconds) {
    const int64_t days = (seconds >= 0 ? seconds : seconds - 86399) / 86400;
    const int64_t inDay = seconds - days * 86400;
    int64_t year = 0;
    unsigned month = 0;
    unsigned day = 0;
    CivilDate(days, &year, &month, &day);
    char text[40];
    // No "%lld": the msvcrt of older Windows, which the Windows programs use, knows no "ll".
    snprintf(text, sizeof text, "%04d-%02u-%02uT%02u:%02u:%02uZ", static_cast<int>(year), month, day,  // NOLINT(cert-err33-c): fits
             static_cast<unsigned>(inDay / 3600), static_cast<unsigned>(inDay / 60 % 60),
             static_cast<unsigned>(inDay % 60));
    return text;
}

std::string BadSectorsText(const BadSectorList& list) {
    std::string text = std::to_string(list.Count());
    const char* separator = " (";
    for (uint32_t sector = 0; sector < list.Total();) {
        if (!list.IsBad(sector)) {
            ++sector;
            continue;
        }
        uint32_t end = sector;
        while (end < list.Total() && list.IsBad(end)) ++end;
        char run[40];
        snprintf(run, sizeof run, "0x%08lX+0x%08lX",  // NOLINT(cert-err33-c): fits
                 static_cast<unsigned long>(sector) * FloppyDevice::kSectorSize,
                 static_cast<unsigned long>(end - sector) * FloppyDevice::kSectorSize);
        text += separator;
        text += run;
        separator = ", ";
        sector = end;
    }
    return list.Count() > 0 ? text + ")" : text;
}

std::string ComposeImageLog(const ImageLogFacts& facts, const ReadRecord& record) {
    std::string log = Line("Program", "Vorlix") + Line("Version", facts.version) +
                      Line("Command", facts.command) + Line("Device", facts.device) +
                      Line("Started", IsoUtcTime(facts.started)) +
                      Line("Finished", IsoUtcTime(facts.finished)) + Line("Format", record.format) +
                      Line("Description", facts.description) +
                      Line("Sectors", std::to_string(record.sectors)) +
                      Line("Bad sectors", BadSectorsText(record.badSectors));
    const uint32_t bad = record.badSectors.Count();
    if (bad > 0) {
        log += Line("Recovered", std::to_string(record.sectors - bad) + " of " +
                                     std::to_string(record.sectors) + " sectors");
    }
    return log + Line("Retries", record.emergency ? std::to_string(record.retries) : "none (not an emergency read)") +
           Line("Disk SHA-256", record.diskSha256) + Line("Disk MD5", record.diskMd5) +
           Line("Image SHA-256", facts.imageSha256);
}

int WriteLogFile(const std::string& path, const std::string& text) {
    FILE* file = fopen(path.c_str(), "wb");
    if (file == nullptr) return -1;
    const bool written = fwrite(text.data(), 1, text.size(), file) == text.size() && FlushToStableStorage(file);
    if (fclose(file) == 0 && written) return 0;
    remove(path.c_str());  // NOLINT(cert-err33-c): a half log is worse than none
    return -1;
}
