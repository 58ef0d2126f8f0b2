#pragma once
#include <string>
#include <vector>

#include "app/settings.h"

// The program's command line: word 0 is the program path, the rest are its arguments.
//
//   vorlix                       the user works in the main dialog
//   vorlix image.imz             the image is shown in the Write Floppy panel
//   vorlix [switches] /w image   one unattended write, then the process ends
//   vorlix [switches] /r image   one unattended read, then the process ends
//   vorlix /t image              checks an image without a drive: one message, exit 0 / 1
//   vorlix /i old /r new         converts: the read takes its sectors from the image "old"
//   vorlix /l image              shows the files on the image's disk
//   vorlix /x image folder       copies them all into the folder: exit 0 / 1, no window
//   vorlix /m folder /r image [/d text] [/k kB]   makes the image of a disk holding the folder
//   vorlix /n /r box4-##.imz     reads disk after disk into box4-01.imz, box4-02.imz, ...
//
// Switches, in any order, before or after the job, repeatable, in any case: /b (B: drive),
// /f (no confirmation questions), /s (completion sound), /c (compatible IMG files),
// /e (emergency read), /v (verify a written disk), /d text (description; quote it when it has spaces),
// /i image (the image a "/r" reads instead of the drive; without "/r" the help is shown),
// /n (a batch: the "/r" image, and the "/d" text if it wants, hold one run of '#' for the
// disk's number; without "/r" or with another "#" the help is shown).
// A check or a conversion needs no drive: it runs in its own process even while another
// instance runs (RunsBesideRunningInstance).

// The words the runtime has already split (argc and argv, or __argc and __argv).
std::vector<std::string> CommandLineWords(int count, const char* const* words);

enum class StartCase {
    NoArguments,      // one word: the main dialog, empty
    ImageArgument,    // two words, word 1 not beginning with "/": show that image
    CommandLineMode,  // anything else: one unattended job and the process ends
};

enum class CommandLineJob { None, Write, Read, Check, List, Extract, Make };

StartCase StartCaseOf(const std::vector<std::string>& words);

// The switch scan. Starts from `settings` as the caller holds them: the command-line
// resets (A:, no questions suppressed, no sound, no emergency mode) are the caller's, or
// InterpretCommandLine's. Stops at the first word that is no switch, and at "/d", "/i",
// "/w", "/r" or "/t" as the last word. Those take the next word whatever it looks like:
// in "/w /f" the image is named "/f". `sourceImage`, unless nullptr, gets the "/i" value.
// Returns 0 when a "/w", "/r" or "/t" took a word (even if the scan stopped later), else
// -1: the help is wanted and the exit status is -1.
int ParseSwitches(const std::vector<std::string>& words, Settings& settings, std::string& description,
                  std::string* sourceImage = nullptr, bool* batch = nullptr);

// The job to run: the first "/w", "/r" or "/t" (any case) that is not the last word, looked for
// over all words, also beyond where the switch scan stopped, and also where the switch
// scan took that word as a value.
struct JobChoice {
    CommandLineJob job = CommandLineJob::None;
    std::string image;  // the word after it
};
JobChoice ChooseJob(const std::vector<std::string>& words);

// What start-up is asked to do; the dialogs act on it.
struct CommandLineRequest {
    StartCase startCase = StartCase::NoArguments;
    // ImageArgument: word 1. CommandLineMode: the job's image ("" without a job).
    std::string imagePath;
    // CommandLineMode only. switchesResult -1: show the help and exit with -1; 0: run
    // `job` (None: nothing to do) and exit with 0 unless the image is refused.
    int switchesResult = 0;
    std::string description;  // the "/d" value, "" without one
    CommandLineJob job = CommandLineJob::None;
    std::string sourceImage;  // Read: the "/i" value, the image to convert; "" reads the drive
    std::string folder;       // Extract: where the files go; Make: what goes on the disk
    int formatKilobytes = 1440;  // Make: the "/k" value
    bool batch = false;       // "/n": a read of disk after disk, `imagePath` the names' pattern
};

// Sorts the words into one of the three start cases. In command-line mode it applies the
// run's settings to `settings` (in memory only): FDLetter "A:", Suppress, Sound,
// Emergency and Verify 0, then the switches; Compatible and WindowFx keep their values.
CommandLineRequest InterpretCommandLine(const std::vector<std::string>& words, Settings& settings);

// True when the command line asks for a check ("/t"), a conversion ("/i" with "/r") or
// a job on a disk's files ("/l", "/x", "/m"),
// which touch no drive: such a start runs in its own process even while another
// instance runs, and hands nothing over.
bool RunsBesideRunningInstance(const std::vector<std::string>& words);

// What a second start hands to the instance already running: word 1 when it is no switch;
// when word 1 is a switch, the word after the first "/w" (any case); "" (just activate
// the running instance) when there is neither.
std::string HandOverText(const std::vector<std::string>& words);
