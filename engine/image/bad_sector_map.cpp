#include "engine/image/bad_sector_map.h"

#include <stdlib.h>
#include <string.h>

#include "engine/device/floppy_device.h"

namespace {

constexpr uint32_t kSector = FloppyDevice::kSectorSize;

int WriteRun(FILE* file, uint32_t firstSector, uint32_t count, bool bad) {
    const unsigned long position = static_cast<unsigned long>(firstSector) * kSector;
    const unsigned long size = static_cast<unsigned long>(count) * kSector;
    return fprintf(file, "0x%08lX  0x%08lX  %c\n", position, size, bad ? '-' : '+') > 0 ? 0 : -1;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

const char* SkipBlanks(const char* text) {
    while (*text != '\0' && IsBlank(*text)) ++text;
    return text;
}

// A number as ddrescue writes it ("0x" hexadecimal, or decimal), which must end in a
// blank; false for anything else.
bool ReadNumber(const char** text, unsigned long long* value) {
    const char* start = SkipBlanks(*text);
    if (*start < '0' || *start > '9') return false;
    char* end = nullptr;
    *value = strtoull(start, &end, 0);
    if (end == start || !IsBlank(*end)) return false;
    *text = end;
    return true;
}

// One run line into `list`; false when the line is not a run of this disk.
bool ReadRun(const char* line, uint32_t totalSectors, uint32_t* nextSector, BadSectorList& list) {
    unsigned long long position = 0;
    unsigned long long size = 0;
    if (!ReadNumber(&line, &position) || !ReadNumber(&line, &size)) return false;
    line = SkipBlanks(line);
    const char status = *line;
    if (strchr("?*/-+", status) == nullptr || status == '\0') return false;
    if (*SkipBlanks(line + 1) != '\0') return false;
    const unsigned long long diskBytes = static_cast<unsigned long long>(totalSectors) * kSector;
    if (position % kSector != 0 || size % kSector != 0 || position > diskBytes ||
        size > diskBytes - position || position / kSector < *nextSector) {
        return false;
    }
    const uint32_t first = static_cast<uint32_t>(position / kSector);
    const uint32_t count = static_cast<uint32_t>(size / kSector);
    for (uint32_t i = 0; i < count; ++i) list.Mark(first + i, status != '+');
    *nextSector = first + count;
    return true;
}

}  // namespace

bool BadSectorMapPath(const char* imagePath, char (&path)[kBadSectorMapPathSize]) {
    const size_t length = strlen(imagePath);
    if (length + sizeof kBadSectorMapExtension > sizeof path) return false;
    memcpy(path, imagePath, length);
    memcpy(path + length, kBadSectorMapExtension, sizeof kBadSectorMapExtension);
    return true;
}

int WriteBadSectorMap(FILE* file, const BadSectorList& list) {
    // ddrescue's own header: its readers skip the comments, but people read them.
    int result = fputs("# Mapfile. Created by Vorlix\n"
                       "# current_pos  current_status  current_pass\n"
                       "0x00000000     +               1\n"
                       "#      pos        size  status\n",
                       file) >= 0 ? 0 : -1;
    const uint32_t total = list.Total();
    uint32_t runStart = 0;
    for (uint32_t sector = 1; sector <= total && result == 0; ++sector) {
        if (sector == total || list.IsBad(sector) != list.IsBad(runStart)) {
            result = WriteRun(file, runStart, sector - runStart, list.IsBad(runStart));
            runStart = sector;
        }
    }
    return result;
}

int ReadBadSectorMap(const char* path, uint32_t totalSectors, BadSectorList& list) {
    list.Reset(totalSectors);
    FILE* file = fopen(path, "r");
    if (file == nullptr) return -1;
    char line[256];
    bool statusSeen = false;
    bool valid = true;
    uint32_t nextSector = 0;
    while (valid && fgets(line, sizeof line, file) != nullptr) {
        // A line longer than any of a map's is not one of a map.
        if (strchr(line, '\n') == nullptr && !feof(file)) {
            valid = false;
            break;
        }
        const char* text = SkipBlanks(line);
        if (*text == '#' || *text == '\0') continue;
        if (!statusSeen) {
            // Position, status and, since ddrescue 1.21, the pass: only its shape matters.
            unsigned long long position = 0;
            valid = ReadNumber(&text, &position);
            statusSeen = true;
            continue;
        }
        valid = ReadRun(text, totalSectors, &nextSector, list);
    }
    const bool readError = ferror(file) != 0;
    fclose(file);  // NOLINT(cert-err33-c): read only
    if (!valid || readError || !statusSeen) {
        list.Reset(totalSectors);
        return -1;
    }
    return 0;
}
