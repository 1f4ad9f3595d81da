// Builds small TGA files byte by byte for the tests.
#pragma once

#include <string>
#include <vector>

using Bytes = std::vector<int>;

// An 18-byte header (no colour map; width and height little-endian) followed by the given bytes.
inline std::string tga(int type, int width, int height, int bits, const Bytes& rest, int idLength = 0,
                       int descriptor = 0) {
    Bytes header = {idLength, 0, type, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                    width & 255, (width >> 8) & 255, height & 255, (height >> 8) & 255, bits, descriptor};
    std::string out;
    for (int b : header) {
        out.push_back(char(b));
    }
    for (int b : rest) {
        out.push_back(char(b));
    }
    return out;
}
