#pragma once
#include <string>

// The checks before a job are the portable start module's (engine/job/job_start.h); what
// is left here belongs to the main dialog's file dialogs.

// The save dialog's filter for the kind of the last target: 1 ".imz", 2 ".img", 3 ".exe",
// 4 ".ima", 5 ".vfd", 6 ".flp"; `current` for any other name.
int SaveFilterIndexFor(const std::string& path, int current);
