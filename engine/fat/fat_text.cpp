#include "engine/fat/fat_text.h"

#include <stdio.h>

#include "resources/string_ids.h"

std::string FatAttributeLetters(uint8_t attributes) {
    std::string letters;
    if ((attributes & kFatReadOnly) != 0) letters += 'R';
    if ((attributes & kFatHidden) != 0) letters += 'H';
    if ((attributes & kFatSystem) != 0) letters += 'S';
    if ((attributes & kFatArchive) != 0) letters += 'A';
    return letters;
}

std::string FatSerialText(uint32_t serial) {
    char text[16];
    snprintf(text, sizeof text, "%04X-%04X", static_cast<unsigned>(serial >> 16), static_cast<unsigned>(serial & 0xFFFF));  // NOLINT(cert-err33-c): fits
    return text;
}

std::string FatTimeText(const FatTimestamp& stamp) {
    char text[20];
    FormatFatTime(stamp, text);
    return text;
}

unsigned FatDamageMessage(FatProblem problem) {
    switch (problem) {
    case FatProblem::ChainLoops:
        return IDS_FAT_CHAIN_LOOPS;
    case FatProblem::ChainCrossed:
        return IDS_FAT_CHAIN_CROSSED;
    case FatProblem::ChainOutside:
        return IDS_FAT_CHAIN_OUTSIDE;
    case FatProblem::ChainShort:
        return IDS_FAT_CHAIN_SHORT;
    case FatProblem::FolderLoop:
        return IDS_FAT_FOLDER_LOOP;
    case FatProblem::BadSector:
        return IDS_FAT_BAD_SECTOR;
    case FatProblem::FatCopiesDiffer:
        break;
    }
    return IDS_FAT_COPIES_DIFFER;
}
