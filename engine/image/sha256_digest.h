#pragma once
#include <stddef.h>
#include <stdint.h>

#include <nettle/sha2.h>

// The SHA-256 of an image's sector data, fed in pieces as the data passes. Nettle does
// the hashing; this only fixes the shapes the jobs and the trailer use.
class Sha256Digest {
public:
    static constexpr size_t kSize = 32;
    static constexpr size_t kHexLength = 2 * kSize;  // lowercase, no terminator counted

    Sha256Digest() { Reset(); }

    void Reset() { sha256_init(&context_); }
    void Update(const void* data, size_t size) {
        sha256_update(&context_, size, static_cast<const uint8_t*>(data));
    }
    // The digest of everything fed since the last reset, which this begins anew.
    void Finish(uint8_t (&digest)[kSize]) { sha256_digest(&context_, kSize, digest); }
    // The same as 64 lowercase hexadecimal digits and a terminating zero.
    void FinishHex(char (&text)[kHexLength + 1]);

private:
    sha256_ctx context_;
};

// The SHA-256 of one piece of memory as 64 lowercase hexadecimal digits.
void Sha256Hex(const void* data, size_t size, char (&text)[Sha256Digest::kHexLength + 1]);
