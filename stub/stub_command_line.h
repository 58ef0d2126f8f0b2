#pragma once

// The restorer stub's command line: the only switch is "/b", in any case and any
// position after the program's own path; it selects drive B: instead of A:.
const char* StubDriveText(int argc, char** argv);

// The stub refuses to run from a floppy drive: IsOnFloppyDrive.
#include "engine/image/image_kind.h"
