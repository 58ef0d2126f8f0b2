#pragma once
#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "tests/support/simulated_floppy.h"

// Test helpers around image files: what a disk holds, and the parts of an image file.

std::string DiskBytes(const SimulatedFloppy& disk);
void SetDiskBytes(SimulatedFloppy& disk, const std::string& bytes);

// The sectors that the bad-sector map `mapPath` lists on a disk of `total` sectors, in
// order (a map that does not read fails the test).
std::vector<uint32_t> SectorsInMap(const std::string& mapPath, uint32_t total);

// One bzip2 stream of `data`, made the way the read job makes it.
std::string CompressedStream(const std::string& data);

// A few kilobytes of bzip2 that decode to a billion zero bytes: `streams` copies of one
// stream of 8 MB of zeros, one after another, as a reader of consecutive streams takes
// them.
std::string Bzip2Bomb(int streams = 125);

// Decompresses the stream that starts at `offset` of `file`; `complete` says whether it
// ended cleanly.
struct StreamContents {
    std::string data;
    bool complete = false;
};
StreamContents DecompressFile(const std::string& file, long offset);

// A stand-in for the main program's executable: a header of `headSize` bytes (carrying
// the executable signature at offset 0, as the real one does), then the stub, which
// starts with the signature. Writes it to `path` and returns the stub's bytes.
std::string WriteFakeProgram(const std::string& path, size_t headSize = 4096,
                             size_t stubSize = 20000);

// True when nothing holds `path` open (on Windows an open file cannot be renamed).
bool NothingHoldsFile(const std::string& path);
