#include "engine/job/batch_naming.h"

int BatchPattern::Parse(const std::string& text) {
    const size_t first = text.find('#');
    if (first == std::string::npos) return -1;
    const size_t end = text.find_first_not_of('#', first);
    const size_t width = (end == std::string::npos ? text.size() : end) - first;
    // A second run would leave it open which one counts.
    if (end != std::string::npos && text.find('#', end) != std::string::npos) return -1;
    before_ = text.substr(0, first);
    after_ = end == std::string::npos ? std::string() : text.substr(end);
    width_ = width;
    return 0;
}

int BatchPattern::ParseOptional(const std::string& text) {
    if (text.find('#') != std::string::npos) return Parse(text);
    before_ = text;
    after_.clear();
    width_ = 0;
    return 0;
}

std::string BatchPattern::For(unsigned number) const {
    if (width_ == 0) return before_;
    std::string digits = std::to_string(number);
    if (digits.size() < width_) digits.insert(0, width_ - digits.size(), '0');
    return before_ + digits + after_;
}
