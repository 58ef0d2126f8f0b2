#pragma once
#include "app/settings.h"
#include "engine/job/floppy_device_factory.h"

// The whole program on the system that `platform` describes, its jobs over `devices`;
// the exit status of the process (app/exit_status.h): 0 after an interactive run, 3 (or 1)
// after handing over to the instance already running.
int RunVorlix(const PlatformInfo& platform, FloppyDeviceFactory& devices);
