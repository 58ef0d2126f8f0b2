#include "app/settings.h"

#include <string.h>

void SelectDrive(Settings& settings, bool driveB) {
    strcpy(settings.FDLetter, driveB ? "B:" : "A:");
}

Settings& TheSettings() {
    static Settings settings;
    return settings;
}

PlatformInfo& ThePlatform() {
    static PlatformInfo platform;
    return platform;
}
