#include "engine/job/update_speed.h"

namespace {

constexpr int kDoubleMantissaBits = 53;

// Where the double nearest to a / b (b not 0) lies against the exact quotient: -1 below,
// 0 equal, +1 above. Long division, one bit at a time, to the 53 bits a double holds and
// the one after, which with the rest decides the rounding (to nearest, ties to even).
int DoubleQuotientDirection(uint64_t a, uint64_t b) {
    if (a == 0) {
        return 0;
    }
    const uint64_t whole = a / b;
    uint64_t rest = a % b;
    int bits = 0;
    bool lastBit = false;
    for (uint64_t w = whole; w != 0; w >>= 1) {
        ++bits;
    }
    lastBit = (whole & 1) != 0;
    // Fractional bits, leading zeros not counted until the first 1 (when whole is 0).
    while (bits < kDoubleMantissaBits) {
        rest <<= 1;
        const bool bit = rest >= b;
        if (bit) {
            rest -= b;
        }
        if (bits > 0 || bit) {
            ++bits;
            lastBit = bit;
        }
    }
    rest <<= 1;
    const bool roundBit = rest >= b;
    if (roundBit) {
        rest -= b;
    }
    const bool sticky = rest != 0;
    if (!roundBit) {
        return sticky ? -1 : 0;
    }
    if (sticky) {
        return 1;
    }
    return lastBit ? 1 : -1;
}

// Tenths of kilobytes / seconds, rounded as printf rounds the double quotient: to
// nearest, and a quotient exactly halfway between two tenths to the even one. Halfway
// decimals are seldom halfway doubles (0.05 is stored a little above), so there the
// stored double decides.
uint64_t RoundedTenths(uint32_t kilobytes, uint32_t seconds) {
    const uint64_t tenths = static_cast<uint64_t>(kilobytes) * 10;
    const uint64_t quotient = tenths / seconds;
    const uint64_t twiceRest = (tenths % seconds) * 2;
    if (twiceRest < seconds) {
        return quotient;
    }
    if (twiceRest > seconds) {
        return quotient + 1;
    }
    switch (DoubleQuotientDirection(kilobytes, seconds)) {
    case 1:
        return quotient + 1;
    case -1:
        return quotient;
    default:
        return quotient + (quotient & 1);
    }
}

}  // namespace

void FormatSpeed(uint32_t kilobytes, uint32_t seconds, char (&speedText)[kSpeedTextSize]) {
    if (seconds == 0) {
        speedText[0] = '0';
        speedText[1] = '\0';
        return;
    }
    const uint64_t tenths = RoundedTenths(kilobytes, seconds);
    char digits[kSpeedTextSize];
    int count = 0;
    uint64_t whole = tenths / 10;
    do {
        digits[count++] = static_cast<char>('0' + whole % 10);
        whole /= 10;
    } while (whole != 0);
    int length = 0;
    while (count > 0) {
        speedText[length++] = digits[--count];
    }
    speedText[length++] = '.';
    speedText[length++] = static_cast<char>('0' + tenths % 10);
    speedText[length] = '\0';
}

void UpdateSpeed(uint32_t kilobytesCopied, int64_t startSeconds, int64_t nowSeconds,
                 char (&speedText)[kSpeedTextSize]) {
    const int64_t elapsed = nowSeconds - startSeconds;
    if (elapsed <= 0) {
        FormatSpeed(kilobytesCopied, 0, speedText);
        return;
    }
    const uint32_t seconds = elapsed > 0xFFFFFFFF ? 0xFFFFFFFFu : static_cast<uint32_t>(elapsed);
    FormatSpeed(kilobytesCopied, seconds, speedText);
}
