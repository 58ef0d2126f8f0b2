#pragma once
#include "app/settings.h"
#include "engine/floppy_device_factory.h"

// The whole program on the system that `platform` describes, its jobs over `devices`;
// the exit status of the process (0).
int RunVorlix(const PlatformInfo& platform, FloppyDeviceFactory& devices);
