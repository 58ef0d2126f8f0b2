#include "linux/device_rules.h"

#include <sstream>


std::string UnescapeMountField(const std::string& field) {
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' && field[i + 1] <= '3' &&
            field[i + 2] >= '0' && field[i + 2] <= '7' && field[i + 3] >= '0' && field[i + 3] <= '7') {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

std::string FindMountPoint(const std::string& mounts, uint64_t deviceNumber,
                           const std::function<bool(const std::string&, uint64_t*)>& deviceOf) {
    std::istringstream lines(mounts);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string source, point;
        if (!(fields >> source >> point) || source.empty() || source[0] != '/') continue;
        uint64_t number = 0;
        if (deviceOf(UnescapeMountField(source), &number) && number == deviceNumber) {
            return UnescapeMountField(point);
        }
    }
    return "";
}
