#pragma once
#include <string>
#include <vector>

// The terminal program's command line, in the usual style of Linux tools:
//
//   vorlix read [-d DEVICE] [-m TEXT] [-e] [--retries N] [--log] IMAGE
//   vorlix read --batch [--first N] [--manifest FILE] [-d DEVICE] [-m TEXT] [-e]
//               [--retries N] PATTERN
//   vorlix write [-d DEVICE] [--verify | --no-verify] IMAGE
//   vorlix check IMAGE
//   vorlix convert SOURCE TARGET [-m TEXT]
//   vorlix info IMAGE
//   vorlix drives
//   vorlix list [--json] [--deleted] [IMAGE | -d DEVICE]
//   vorlix extract IMAGE [PATH...] [-o DIR]
//   vorlix make FOLDER IMAGE [-f KB] [-m TEXT] [--label LABEL]
//   vorlix --help | --version
//
// -q and -y belong to every command. Options and operands mix in any order; "--" ends
// the options; a value follows its option as the next word, attached ("-dX") or after
// "=" ("--device=X"). Short flags group ("-qy").

enum class Command { Read, Write, Check, Convert, Info, Help, Version, Drives, List, Extract, Make };

enum class VerifyChoice { Default, On, Off };

struct Arguments {
    Command command = Command::Help;
    std::string device;  // empty: no -d given, the command runner finds the drive
    std::string description;
    bool emergency = false;
    int retries = -1;  // -1: not given
    VerifyChoice verify = VerifyChoice::Default;
    bool quiet = false;
    bool yes = false;
    std::vector<std::string> operands;  // the images, in the order given
    // The volume's contents (list, extract, make).
    bool deviceGiven = false;  // list reads the device instead of an image
    bool json = false;
    bool deleted = false;
    std::string outputFolder;  // "": the image's name less its extension
    int formatKilobytes = 1440;
    std::string label;
    // A batch of disks: operands[0] and the description hold one run of '#' for the
    // disk's number, counted from `first`; each image gets a log and a manifest row.
    bool batch = false;
    unsigned first = 1;
    std::string manifest;  // "": manifest.txt beside the images
    bool log = false;      // a single read's log beside its image
    std::string commandLine;  // "vorlix" and the words as given, for logs and manifests
};

// Reads the words after the program's name. Returns 0 with `out` filled, or -1 with a
// one-line `error` saying what was refused (the caller adds the pointer to --help).
// No words at all ask for the help.
int ParseArguments(const std::vector<std::string>& words, Arguments* out, std::string* error);

// The help text, for stdout.
const char* UsageText();
