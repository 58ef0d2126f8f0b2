#pragma once
#include <stddef.h>

#include <string>

// The names of a batch's images and descriptions: one run of '#' in a pattern stands
// for the disk's number, zero-padded to the run's length ("box4-##.imz", disk 3:
// "box4-03.imz"); a number too wide for the run is written whole.
class BatchPattern {
public:
    // 0 when `text` holds exactly one run of '#'; -1 when it holds none or more than one.
    int Parse(const std::string& text);
    // `text` as it stands when it holds no '#' at all (a description without a number);
    // else as Parse.
    int ParseOptional(const std::string& text);

    std::string For(unsigned number) const;

private:
    std::string before_;
    std::string after_;
    size_t width_ = 0;  // 0: no run, the text is all in before_
};
