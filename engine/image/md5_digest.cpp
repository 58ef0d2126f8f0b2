#include "engine/image/md5_digest.h"

void Md5Digest::FinishHex(char (&text)[kHexLength + 1]) {
    static const char kDigits[] = "0123456789abcdef";
    uint8_t digest[kSize];
    Finish(digest);
    for (size_t i = 0; i < kSize; ++i) {
        text[2 * i] = kDigits[digest[i] >> 4];
        text[2 * i + 1] = kDigits[digest[i] & 0x0F];
    }
    text[kHexLength] = '\0';
}

void Md5Hex(const void* data, size_t size, char (&text)[Md5Digest::kHexLength + 1]) {
    Md5Digest digest;
    digest.Update(data, size);
    digest.FinishHex(text);
}
