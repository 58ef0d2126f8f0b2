#include "engine/image/signature_search.h"

#include <string.h>

namespace {

constexpr int kMaxSignatureLength = 16;

}  // namespace

int SeekToSignature(FILE* file, const unsigned char* signature, int length, long limit) {
    if (file == nullptr || length <= 0 || length > kMaxSignatureLength) {
        return -1;
    }
    // The last `length` bytes read, compared whole after every byte: a partial match
    // that fails ("BZBZh9...") can never hide the start of the real one.
    unsigned char window[kMaxSignatureLength];
    int filled = 0;
    for (long count = 0; limit < 0 || count < limit; ++count) {
        const int c = fgetc(file);
        if (c == EOF) {
            return -1;
        }
        if (filled == length) {
            memmove(window, window + 1, static_cast<size_t>(length - 1));
            --filled;
        }
        window[filled++] = static_cast<unsigned char>(c);
        if (filled == length && memcmp(window, signature, static_cast<size_t>(length)) == 0) {
            return fseek(file, -static_cast<long>(length), SEEK_CUR) == 0 ? 0 : -1;
        }
    }
    return -1;
}
