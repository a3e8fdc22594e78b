#pragma once

#include <fstream>
#include <string>

namespace bench {

inline constexpr double kMB = 1024.0 * 1024.0;

// A /proc/self/status figure in bytes ("VmRSS", "VmHWM").
inline double StatusBytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0) return std::stod(line.substr(key.size())) * 1024.0;
    return 0;
}

// Makes the peak resident size start again from the present one.
inline void ResetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
}

}  // namespace bench
