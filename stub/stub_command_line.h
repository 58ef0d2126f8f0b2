#pragma once

// The restorer stub's command line: the only switch is "/b", in any case and any
// position after the program's own path; it selects drive B: instead of A:.
const char* StubDriveText(int argc, char** argv);

// True when `imagePath` lies on a floppy drive ("A:" or "B:" in either case, whichever
// drive was chosen): writing the image to the disk it is read from would destroy it.
bool IsOnFloppyDrive(const char* imagePath);
