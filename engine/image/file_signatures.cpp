#include "engine/image/file_signatures.h"

namespace {

// Each byte is stored xor-ed with the mask. The mask is read through a volatile, so the
// compiler cannot fold the real bytes back into one constant (an 8-byte immediate, say).
constexpr unsigned char kMask = 0xA5;
volatile unsigned char g_mask = kMask;

const unsigned char kMaskedStubSignature[kSignatureLength] = {
    0x4D ^ kMask, 0x5A ^ kMask, 0x90 ^ kMask, 0x00 ^ kMask, 0x03 ^ kMask, 0x00 ^ kMask, 0x00 ^ kMask,
};

const unsigned char kMaskedStreamSignature[kSignatureLength] = {
    'B' ^ kMask, 'Z' ^ kMask, 'h' ^ kMask, '9' ^ kMask, '1' ^ kMask, 'A' ^ kMask, 'Y' ^ kMask,
};

void Unmask(const unsigned char (&masked)[kSignatureLength],
            unsigned char (&signature)[kSignatureLength]) {
    const unsigned char mask = g_mask;
    for (int i = 0; i < kSignatureLength; ++i) {
        signature[i] = static_cast<unsigned char>(masked[i] ^ mask);
    }
}

}  // namespace

void MakeRestorerStubSignature(unsigned char (&signature)[kSignatureLength]) {
    Unmask(kMaskedStubSignature, signature);
}

void MakeCompressedStreamSignature(unsigned char (&signature)[kSignatureLength]) {
    Unmask(kMaskedStreamSignature, signature);
}
