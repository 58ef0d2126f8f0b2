#include "tests/support/binary_data.h"

#include <stdlib.h>

#include "engine/image/file_signatures.h"

std::string BinaryTestData(size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    unsigned state = seed * 2654435761u + 1u;
    for (size_t i = 0; i < size; ++i) {
        state = state * 1103515245u + 12345u;
        bytes[i] = static_cast<char>((state >> 16) & 0xFF);
    }
    // Make sure the troublesome bytes for text-mode streams are there.
    const char awkward[] = {'\x0A', '\x0D', '\x1A', '\x0D', '\x0A', '\0', '\xFF'};
    for (size_t i = 0; i < sizeof awkward && i < size; ++i) {
        bytes[i * size / sizeof awkward] = awkward[i];
    }
    return bytes;
}

std::string RestorerStubSignatureBytes() {
    unsigned char signature[kSignatureLength];
    MakeRestorerStubSignature(signature);
    return std::string(reinterpret_cast<const char*>(signature), kSignatureLength);
}

std::string CompressedStreamSignatureBytes() {
    unsigned char signature[kSignatureLength];
    MakeCompressedStreamSignature(signature);
    return std::string(reinterpret_cast<const char*>(signature), kSignatureLength);
}

std::string OwnExecutablePath() {
#ifdef _WIN32
    return _pgmptr;
#else
    return "/proc/self/exe";
#endif
}
