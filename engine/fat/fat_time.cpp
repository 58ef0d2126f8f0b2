#include "engine/fat/fat_time.h"

#include <stdio.h>

FatTimestamp DecodeFatTime(uint16_t date, uint16_t time) {
    FatTimestamp stamp;
    const uint32_t month = (date >> 5) & 0x0F;
    const uint32_t day = date & 0x1F;
    if (month < 1 || month > 12 || day < 1) return stamp;
    stamp.year = 1980 + (date >> 9);
    stamp.month = month;
    stamp.day = day;
    stamp.hour = time >> 11;
    stamp.minute = (time >> 5) & 0x3F;
    stamp.second = (time & 0x1F) * 2;
    // A time of day that is none is kept as midnight rather than shown as it stands.
    if (stamp.hour > 23 || stamp.minute > 59 || stamp.second > 59) {
        stamp.hour = stamp.minute = stamp.second = 0;
    }
    return stamp;
}

void EncodeFatTime(const FatTimestamp& stamp, uint16_t* date, uint16_t* time) {
    if (!stamp.Valid() || stamp.year < 1980) {
        *date = (1 << 5) | 1;  // 1980-01-01 00:00:00, the earliest FAT can say
        *time = 0;
        return;
    }
    const uint32_t year = stamp.year > 2107 ? 127 : stamp.year - 1980;
    *date = static_cast<uint16_t>(year << 9 | stamp.month << 5 | stamp.day);
    *time = static_cast<uint16_t>(stamp.hour << 11 | stamp.minute << 5 | stamp.second / 2);
}

void FormatFatTime(const FatTimestamp& stamp, char (&text)[20]) {
    snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u", stamp.year % 10000u, stamp.month % 100u,  // NOLINT(cert-err33-c): fits
             stamp.day % 100u, stamp.hour % 100u, stamp.minute % 100u, stamp.second % 100u);
}
