#pragma once
#include <stdint.h>

// A FAT directory entry's date and time: local time as DOS kept it, seconds in steps of
// two, years 1980 to 2107. `year` 0 means the entry holds no valid date.
struct FatTimestamp {
    uint32_t year = 0;
    uint32_t month = 0;
    uint32_t day = 0;
    uint32_t hour = 0;
    uint32_t minute = 0;
    uint32_t second = 0;

    bool Valid() const { return year != 0; }
};

// The stamp of an entry's date and time words; year 0 when the date is not one.
FatTimestamp DecodeFatTime(uint16_t date, uint16_t time);

// The date and time words of `stamp`, seconds rounded down to two; clamped to 1980-2107.
void EncodeFatTime(const FatTimestamp& stamp, uint16_t* date, uint16_t* time);

// "YYYY-MM-DDTHH:MM:SS" and a terminating zero.
void FormatFatTime(const FatTimestamp& stamp, char (&text)[20]);
