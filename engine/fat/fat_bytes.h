#pragma once
#include <stdint.h>

// Little-endian numbers in a disk's bytes.
inline uint32_t Le16(const uint8_t* at) {
    return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8;
}

inline uint32_t Le32(const uint8_t* at) {
    return Le16(at) | Le16(at + 2) << 16;
}

inline void PutLe16(uint8_t* at, uint32_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

inline void PutLe32(uint8_t* at, uint32_t value) {
    PutLe16(at, value);
    PutLe16(at + 2, value >> 16);
}
