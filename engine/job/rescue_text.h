#pragma once
#include <stdint.h>

// Texts of the read job's messages that hold more values than a message box template
// can: the job composes the part with the numbers and hands it to the template of its
// message as the one %s.

// Room for the sector's prefix and for the whole recovery report with the longest path.
constexpr int kSectorPrefixSize = 96;
constexpr int kRecoveryTextSize = 512;

// "Sector %u (cylinder %u, head %u, sector %u): " for `logicalSector` of a disk of
// `sectorsPerTrack` and `heads`, which IDS_SECTOR_READ_FAILED_AT puts in front of message 119's text.
void FormatSectorPrefix(char (&out)[kSectorPrefixSize], uint32_t logicalSector,
                        uint32_t sectorsPerTrack, uint32_t heads);

// "Recovered %u of %u sectors.\n%u sectors could not be read and were filled with zeros;
// they are listed in %s." for IDS_SECTORS_RECOVERED; a path too long for the room is cut.
void FormatRecoveryText(char (&out)[kRecoveryTextSize], uint32_t recovered, uint32_t total,
                        uint32_t unreadable, const char* mapPath);
