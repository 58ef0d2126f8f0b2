#pragma once
#include <stddef.h>
#include <stdio.h>

#include "engine/image/bad_sector_list.h"

// The map of an emergency read that could not read every sector: "<image>.map" beside the
// image, in GNU ddrescue's mapfile layout, so that ddrescuelog and the tools that read
// ddrescue's maps read it too. Comment lines start with '#'; the first other line is the
// current position, status and pass; each line after it is one run of sectors: position
// and size in bytes, in hexadecimal, and '+' (read) or '-' (unreadable).

constexpr char kBadSectorMapExtension[] = ".map";
// Room for any image path the jobs take and the extension.
constexpr size_t kBadSectorMapPathSize = 260 + sizeof kBadSectorMapExtension;

// "<imagePath>.map" into `path`; false when it does not fit.
bool BadSectorMapPath(const char* imagePath, char (&path)[kBadSectorMapPathSize]);

// Writes the map of `list` to the open `file`: 0, or -1 when not all of it was written.
int WriteBadSectorMap(FILE* file, const BadSectorList& list);

// Reads the map at `path` of a disk of `totalSectors` into `list`: the sectors of every
// run whose status is not '+' (ddrescue's untried, untrimmed, unscraped and bad runs)
// are bad. 0 when read; -1, with `list` all readable, when there is no such file or it is
// not a map of this disk (a line that is neither a comment nor a run, runs that are not
// whole sectors, overlap or reach past the disk).
int ReadBadSectorMap(const char* path, uint32_t totalSectors, BadSectorList& list);
