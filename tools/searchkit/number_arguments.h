// Numbers given on the tools' command lines: the whole text must be the number.
#pragma once

#include <cmath>
#include <cstdlib>
#include <string>

// A whole number within +-10^9.
inline bool parseInt(const std::string& text, int& value) {
    char* end = nullptr;
    long v = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || *end != '\0' || v < -1000000000L || v > 1000000000L) return false;
    value = static_cast<int>(v);
    return true;
}

// A finite number.
inline bool parseFloat(const std::string& text, double& value) {
    char* end = nullptr;
    double v = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0' || !std::isfinite(v)) return false;
    value = v;
    return true;
}
