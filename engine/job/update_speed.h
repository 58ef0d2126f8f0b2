#pragma once
#include <stdint.h>

#include "engine/job/job_progress.h"

// The speed a job shows: kilobytes per second over the whole seconds since it started,
// with one decimal, or "0" while the wall-clock second has not changed (or the clock has
// been set back).
void UpdateSpeed(uint32_t kilobytesCopied, int64_t startSeconds, int64_t nowSeconds,
                 char (&speedText)[kSpeedTextSize]);

// `kilobytes` / `seconds` (not 0) as printf's "%.1f" shows the double quotient, digit for
// digit, without the printf family: the restorer stub, which shares the jobs, cannot
// afford it.
void FormatSpeed(uint32_t kilobytes, uint32_t seconds, char (&speedText)[kSpeedTextSize]);
