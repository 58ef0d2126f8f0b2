#pragma once
#include <stdint.h>

#include <functional>
#include <string>

// The mount point of the device numbered `deviceNumber` in the text of /proc/self/mounts,
// its escapes (\040 for a blank and the like) undone; "" when it is not mounted.
// `deviceOf` gives the device number of a mount's source path, false when it has none.
std::string FindMountPoint(const std::string& mounts, uint64_t deviceNumber,
                           const std::function<bool(const std::string& source, uint64_t* number)>& deviceOf);

// Undoes the octal escapes of a field of /proc/self/mounts.
std::string UnescapeMountField(const std::string& field);
