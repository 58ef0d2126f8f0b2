#include "engine/job/rescue_text.h"

#include <stdio.h>
#include <string.h>

#include "engine/device/sector_address.h"

void FormatSectorPrefix(char (&out)[kSectorPrefixSize], uint32_t logicalSector,
                        uint32_t sectorsPerTrack, uint32_t heads) {
    const SectorAddress at = AddressOfSector(logicalSector, sectorsPerTrack, heads);
    // Four numbers of at most ten digits each fit the room with the words.
    // NOLINTNEXTLINE(cert-err33-c): cannot fail or overflow, as above
    sprintf(out, "Sector %u (cylinder %u, head %u, sector %u): ", static_cast<unsigned>(logicalSector),
            static_cast<unsigned>(at.cylinder), static_cast<unsigned>(at.head),
            static_cast<unsigned>(at.sector));
}

void FormatRecoveryText(char (&out)[kRecoveryTextSize], uint32_t recovered, uint32_t total,
                        uint32_t unreadable, const char* mapPath) {
    const int used = sprintf(out,
                             "Recovered %u of %u sectors.\n%u sectors could not be read and were "
                             "filled with zeros; they are listed in ",
                             static_cast<unsigned>(recovered), static_cast<unsigned>(total),
                             static_cast<unsigned>(unreadable));
    const size_t room = sizeof out - static_cast<size_t>(used) - 2;  // the full stop, the zero
    size_t length = strlen(mapPath);
    if (length > room) length = room;
    memcpy(out + used, mapPath, length);
    out[used + length] = '.';
    out[used + length + 1] = '\0';
}
