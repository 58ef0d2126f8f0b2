#pragma once
#include <stdint.h>

#include "engine/job/job_fields.h"
#include "engine/job/job_request.h"
#include "engine/job/job_text.h"

// The user's settings, one record for the whole process. Loaded from the registry at
// start-up, changed in memory by the command line, written back only by the settings
// sheet's OK. Switch values are 0 or 1.
struct Settings {
    char FDLetter[3] = {'A', ':', '\0'};  // "A:" or "B:", nothing else
    uint32_t WindowFx = 1;                 // alpha-blending effects; forced to 0 below NT 5
    uint32_t Compatible = 0;               // raw images without trailer
    uint32_t Sound = 1;                    // completion sound
    uint32_t Emergency = 0;                // sector-by-sector read past bad sectors
    uint32_t Suppress = 0;                 // skip the confirmation questions
    uint32_t Verify = 1;                   // read a written disk back and compare
    uint32_t Retries = kDefaultReadRetries;  // emergency read: further tries of a bad sector, 0-20
    uint32_t WriteLog = 0;                 // "<image>.log" beside each image read
};

// The operating-system family, learnt once at start-up.
struct PlatformInfo {
    uint32_t ntMajorVersion = 0;  // the NT major version; 0 on the 9x family
    uint32_t isWindowsMe = 0;     // 1 on the 9x family with build 3000
};

// What a start from the main dialog or its command line takes from the settings.
inline StartChoices StartChoicesOf(const Settings& settings) {
    StartChoices choices;
    CopyJobText(choices.drive, settings.FDLetter);
    choices.compatible = settings.Compatible != 0;
    choices.emergency = settings.Emergency != 0;
    choices.suppress = settings.Suppress != 0;
    choices.verify = settings.Verify != 0;
    choices.sound = settings.Sound != 0;
    choices.retries = settings.Retries;
    return choices;
}

// The only two drive texts the record ever holds.
void SelectDrive(Settings& settings, bool driveB);

// The two process-wide records. Both are written on the main thread only: the platform
// once at start-up, the settings at start-up, by the command line and by the settings
// sheet. Code that can take them as arguments does; these are for the window layer.
Settings& TheSettings();
PlatformInfo& ThePlatform();
