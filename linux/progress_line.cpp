#include "linux/progress_line.h"

#include <stdio.h>

#include "engine/job/progress_status.h"
#include "linux/terminal_messages.h"

namespace {

// The job's own progress as the window program's dialog gets it, so that both show the
// same status and count from the one string table.
JobProgress JobProgressOf(const ProgressFigures& figures) {
    JobProgress progress{};
    progress.percentDone = figures.percent;
    progress.kilobytesCopied = figures.kilobytesDone;
    snprintf(progress.speedText, sizeof progress.speedText, "%s", figures.speedText.c_str());
    if (figures.kilobytesTotal != 0) {
        snprintf(progress.sizeText, sizeof progress.sizeText, "%u kB", figures.kilobytesTotal);
    }
    progress.phase = figures.phase;
    progress.badSectors = figures.badSectors > 0 ? static_cast<uint32_t>(figures.badSectors) : 0;
    return progress;
}

std::string StatusText(const ProgressFigures& figures) {
    const JobProgress progress = JobProgressOf(figures);
    return FormatUserMessage(ComposeProgressStatus(figures.kind, progress).status);
}

// The percentage, the count (left out where a narrow terminal needs its room for the bar)
// and the time left.
std::string Figures(const ProgressFigures& figures, bool withCount = true) {
    const JobProgress progress = JobProgressOf(figures);
    char percent[16];
    snprintf(percent, sizeof percent, "%3u%%", figures.percent);
    std::string out = percent;
    if (withCount) out += ' ' + FormatUserMessage(ComposeProgressStatus(figures.kind, progress).count);
    if (figures.kilobytesTotal != 0) {
        out += ' ' + TimeLeftText(figures.kilobytesDone, figures.kilobytesTotal, figures.secondsElapsed);
    }
    return out;
}

}  // namespace

std::string TimeLeftText(uint32_t kilobytesDone, uint32_t kilobytesTotal, int64_t secondsElapsed) {
    if (kilobytesDone == 0 || secondsElapsed <= 0 || kilobytesDone > kilobytesTotal) {
        return "--:-- left";
    }
    const uint64_t left = (uint64_t(kilobytesTotal - kilobytesDone) * uint64_t(secondsElapsed) +
                           kilobytesDone - 1) / kilobytesDone;
    char text[32];
    snprintf(text, sizeof text, "%llu:%02llu left", static_cast<unsigned long long>(left / 60),
             static_cast<unsigned long long>(left % 60));
    return text;
}

std::string FormatProgressLine(const ProgressFigures& figures, int width) {
    const std::string name = StatusText(figures);
    std::string tail = Figures(figures);
    const auto roomWith = [&](const std::string& figuresText) {
        return width - 1 - static_cast<int>(name.size() + figuresText.size()) - 4;  // " [" "] "
    };
    int room = roomWith(tail);
    if (room < 10) {
        const std::string shorter = Figures(figures, false);
        if (roomWith(shorter) >= 10) {
            tail = shorter;
            room = roomWith(tail);
        }
    }
    std::string line = name;
    if (room >= 10) {
        const int bar = room > 40 ? 40 : room;
        const uint32_t percent = figures.percent > 100 ? 100 : figures.percent;
        const int filled = static_cast<int>(percent * static_cast<uint32_t>(bar) / 100);
        line += " [" + std::string(filled, '#') + std::string(bar - filled, '.') + "] ";
    } else {
        line += ' ';
    }
    line += tail;
    if (width > 1 && static_cast<int>(line.size()) > width - 1) line.resize(width - 1);
    return line;
}

std::string FormatPlainProgress(const ProgressFigures& figures) {
    return StatusText(figures) + ": " + Figures(figures);
}

void ProgressView::Show(const ProgressFigures& figures) {
    switch (mode_) {
    case ProgressMode::Quiet:
        return;
    case ProgressMode::Line:
        write_("\r" + FormatProgressLine(figures, width_) + "\x1b[K");
        lineOpen_ = true;
        return;
    case ProgressMode::Plain: {
        const int tenth = static_cast<int>(figures.percent / 10);
        if (figures.phase != lastPhase_) lastTenth_ = -1;
        lastPhase_ = figures.phase;
        if (tenth == lastTenth_) return;
        lastTenth_ = tenth;
        write_(FormatPlainProgress(figures) + "\n");
        return;
    }
    }
}

void ProgressView::Break() {
    if (lineOpen_) {
        write_("\n");
        lineOpen_ = false;
    }
}
