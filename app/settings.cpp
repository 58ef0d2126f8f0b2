#include "app/settings.h"

Settings& TheSettings() {
    static Settings settings;
    return settings;
}

PlatformInfo& ThePlatform() {
    static PlatformInfo platform;
    return platform;
}
