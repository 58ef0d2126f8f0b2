#include "engine/image/md5_digest.h"

#include "engine/image/lower_hex.h"

void Md5Digest::FinishHex(char (&text)[kHexLength + 1]) {
    uint8_t digest[kSize];
    Finish(digest);
    LowerHex(digest, kSize, text);
}

void Md5Hex(const void* data, size_t size, char (&text)[Md5Digest::kHexLength + 1]) {
    Md5Digest digest;
    digest.Update(data, size);
    digest.FinishHex(text);
}
