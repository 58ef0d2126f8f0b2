#pragma once
#include <stddef.h>
#include <stdint.h>

#include <nettle/md5.h>

// The MD5 of a file's or an image's data, fed in pieces as the data passes, for listings
// and manifests that other tools compare with. Nettle does the hashing; this mirrors
// Sha256Digest's shapes so either serves the same callers.
class Md5Digest {
public:
    static constexpr size_t kSize = 16;
    static constexpr size_t kHexLength = 2 * kSize;  // lowercase, no terminator counted

    Md5Digest() { Reset(); }

    void Reset() { md5_init(&context_); }
    void Update(const void* data, size_t size) {
        md5_update(&context_, size, static_cast<const uint8_t*>(data));
    }
    // The digest of everything fed since the last reset, which this begins anew.
    void Finish(uint8_t (&digest)[kSize]) { md5_digest(&context_, kSize, digest); }
    // The same as 32 lowercase hexadecimal digits and a terminating zero.
    void FinishHex(char (&text)[kHexLength + 1]);

private:
    md5_ctx context_;
};

// The MD5 of one piece of memory as 32 lowercase hexadecimal digits.
void Md5Hex(const void* data, size_t size, char (&text)[Md5Digest::kHexLength + 1]);
