#include "app/hand_over.h"

#include <string.h>

namespace {
// MAX_PATH less the terminating zero.
constexpr size_t kLongestPath = 259;
}  // namespace

std::optional<std::string> HandedOverImagePath(const void* data, size_t size) {
    if (data == nullptr || size == 0) return std::nullopt;
    const char* text = static_cast<const char*>(data);
    const void* end = memchr(text, '\0', size);
    if (end == nullptr) return std::nullopt;
    size_t length = static_cast<size_t>(static_cast<const char*>(end) - text);
    if (length == 0 || length > kLongestPath) return std::nullopt;
    return std::string(text, length);
}
