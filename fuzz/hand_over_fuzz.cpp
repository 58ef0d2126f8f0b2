// The copy-data block a later start hands to the running instance, from another process:
// read in a buffer of exactly its stated size, so that a read past it is caught.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <memory>

#include "app/hand_over.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<uint8_t[]> block(size != 0 ? new uint8_t[size] : nullptr);
    if (size != 0) {
        memcpy(block.get(), data, size);
    }
    const std::optional<std::string> path = HandedOverImagePath(block.get(), size);
    if (path) {
        // The text before the first zero byte, a Windows path's length at most.
        const void* zero = memchr(data, 0, size);
        if (zero == nullptr || path->empty() || path->size() > 259 ||
            static_cast<const uint8_t*>(zero) - data != static_cast<ptrdiff_t>(path->size()) ||
            memcmp(path->data(), data, path->size()) != 0) {
            abort();
        }
    }
    return 0;
}
