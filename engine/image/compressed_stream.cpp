#include "engine/image/compressed_stream.h"

#include "engine/image/file_signatures.h"
#include "engine/image/signature_search.h"

int FindCompressedStream(FILE* file) {
    if (file == nullptr || fseek(file, 0, SEEK_SET) != 0) {
        return -1;
    }
    unsigned char signature[kSignatureLength];
    MakeCompressedStreamSignature(signature);
    return SeekToSignature(file, signature, kSignatureLength, kCompressedStreamSearchLimit);
}
