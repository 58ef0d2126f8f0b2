#pragma once
#include <stdint.h>

// Room for the longest speed ("4294967295.0") and size ("1680 kB") texts.
constexpr int kSpeedTextSize = 16;
constexpr int kSizeTextSize = 16;

// What the progress dialog shows of a running job. It travels as one value, so that the
// window thread never sees a text that the worker is halfway through rewriting.
// Which pass of a job the progress belongs to: a write that verifies reads the whole disk
// back as a second pass, with its own percent and speed.
enum class JobPhase : uint32_t { Copy = 0, Verify = 1 };

struct JobProgress {
    uint32_t percentDone;      // 0 to 100
    uint32_t kilobytesCopied;  // bytes copied so far / 1024, remainder dropped
    char speedText[kSpeedTextSize];  // kB per second with one decimal, or "0"
    char sizeText[kSizeTextSize];    // "720 kB", "1440 kB" or "1680 kB"
    JobPhase phase;                  // Copy unless a write is verifying
    uint32_t badSectors;             // a read's sectors found unreadable so far
};
