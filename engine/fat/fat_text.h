#pragma once
#include <stdint.h>

#include <string>

#include "engine/fat/fat_time.h"
#include "engine/fat/fat_volume.h"

// How a volume's facts read, the same in the terminal's listing and the program's
// contents dialog.

// "RHSA": the letters of the read-only, hidden, system and archive bits that are set.
std::string FatAttributeLetters(uint8_t attributes);

// "XXXX-XXXX", as DIR shows a serial number.
std::string FatSerialText(uint32_t serial);

// "YYYY-MM-DDTHH:MM:SS".
std::string FatTimeText(const FatTimestamp& stamp);

// The string-table ID that names `problem` (its one %s the path, its %u the cluster).
unsigned FatDamageMessage(FatProblem problem);
