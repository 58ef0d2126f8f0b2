#pragma once
#include <stdint.h>

#include <functional>
#include <string>

#include "engine/job/job_host.h"

// One moment of a running job as the terminal shows it.
struct ProgressFigures {
    JobKind kind = JobKind::Read;
    JobPhase phase = JobPhase::Copy;
    uint32_t percent = 0;
    uint32_t kilobytesDone = 0;
    uint32_t kilobytesTotal = 0;  // 0 while the format is not known
    std::string speedText;        // kB per second as the job gives it ("0" at first)
    int64_t secondsElapsed = 0;   // since this pass began
    long badSectors = -1;         // -1: not counted (a write)
};

// "1:05 left" from the pace so far; "--:--" before there is any.
std::string TimeLeftText(uint32_t kilobytesDone, uint32_t kilobytesTotal, int64_t secondsElapsed);

// The line rewritten in place on a terminal of `width` columns: the job's status (with a
// read's bad sectors once there are any), a bar, percent, the count of what is copied at
// what speed, and the time left.
// Never wider than `width` - 1, so the terminal does not wrap it.
std::string FormatProgressLine(const ProgressFigures& figures, int width);

// The same figures as a plain line for a log, without bar.
std::string FormatPlainProgress(const ProgressFigures& figures);

enum class ProgressMode {
    Line,   // stderr is a terminal: one line, rewritten
    Plain,  // stderr is a file or pipe: a line at each tenth of the way
    Quiet,  // -q: nothing
};

// Shows a job's progress through `write` (the text exactly as it goes to stderr).
class ProgressView {
public:
    ProgressView(ProgressMode mode, std::function<void(const std::string&)> write, int width = 80)
        : mode_(mode), write_(std::move(write)), width_(width) {}

    void Show(const ProgressFigures& figures);

    // Ends a line on the terminal, before a message or at the job's end, so that
    // nothing is written over it. Nothing happens when no line is open.
    void Break();

private:
    ProgressMode mode_;
    std::function<void(const std::string&)> write_;
    int width_;
    bool lineOpen_ = false;
    int lastTenth_ = -1;
    JobPhase lastPhase_ = JobPhase::Copy;
};
