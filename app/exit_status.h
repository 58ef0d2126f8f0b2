#pragma once

// The exit statuses of vorlix.exe, for the scripts that run it unattended. A job's own
// end (engine/job/job_outcome.h) gives 0, 1 and 2 directly.
constexpr int kExitJobDone = 0;       // the job finished (also every interactive run)
constexpr int kExitRefused = -1;      // the help was shown, or the image named was refused
constexpr int kExitJobNotDone = 1;    // a start check or question stopped it, or the job failed
constexpr int kExitCancelled = 2;     // the user cancelled the job
constexpr int kExitHandedOver = 3;    // a running instance got the command line; nothing read or written
