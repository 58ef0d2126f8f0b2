#include "engine/compressed_stream.h"

#include "engine/file_signatures.h"
#include "engine/signature_search.h"

int FindCompressedStream(FILE* file) {
    if (file == nullptr || fseek(file, 0, SEEK_SET) != 0) {
        return -1;
    }
    unsigned char signature[kSignatureLength];
    MakeCompressedStreamSignature(signature);
    return SeekToSignature(file, signature, kSignatureLength, kCompressedStreamSearchLimit);
}
