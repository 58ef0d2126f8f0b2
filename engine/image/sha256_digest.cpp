#include "engine/image/sha256_digest.h"

#include "engine/image/lower_hex.h"

void Sha256Digest::FinishHex(char (&text)[kHexLength + 1]) {
    uint8_t digest[kSize];
    Finish(digest);
    LowerHex(digest, kSize, text);
}

void Sha256Hex(const void* data, size_t size, char (&text)[Sha256Digest::kHexLength + 1]) {
    Sha256Digest digest;
    digest.Update(data, size);
    digest.FinishHex(text);
}
