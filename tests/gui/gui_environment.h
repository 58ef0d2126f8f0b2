#pragma once
// Where the end-to-end tests find the program, the sample disks and drive A:, and the
// state a run needs in its private Wine prefix.
#include <string>

namespace gui {

// vorlix.exe as a Windows path, or "" while the build has no such program.
std::string VorlixProgram();
// The tests' build of vorlix.exe whose floppy pauses before each unit, or "".
std::string SlowFloppyProgram();
// The stand-in program that the driver's own tests drive.
std::string DriverTarget();
// The folder with the sample disks ("sample-1440.img", "blank-720.img", ...) and the
// artifacts; a Windows path, or "" when the run was started without one.
std::string GuiDataFolder();
std::string SampleDisk(const char* kind, int kilobytes);  // kind: "sample" or "blank"
std::string ArtifactPath(const std::string& name);
// The image behind drive A:, or "" without the mapping.
std::string FloppyImage();
// Puts `disk` (a whole file) behind drive A:. Returns 0 or -1.
int InsertDisk(const std::string& disk);
// Marks the program's current version as started once, so no first-start question
// comes, and clears the stored settings and window position. Returns 0 or -1.
int PrepareProfile();

}  // namespace gui
