#include "tools/mazekit/tga_write.h"

#include <cstdio>

std::vector<unsigned char> tgaBytes(const RgbImage& image) {
    std::vector<unsigned char> bytes(18, 0);
    bytes[2] = 2;  // uncompressed true colour
    bytes[12] = static_cast<unsigned char>(image.width & 0xFF);
    bytes[13] = static_cast<unsigned char>((image.width >> 8) & 0xFF);
    bytes[14] = static_cast<unsigned char>(image.height & 0xFF);
    bytes[15] = static_cast<unsigned char>((image.height >> 8) & 0xFF);
    bytes[16] = 24;
    for (size_t i = 0; i + 2 < image.rgb.size(); i += 3) {
        bytes.push_back(image.rgb[i + 2]);
        bytes.push_back(image.rgb[i + 1]);
        bytes.push_back(image.rgb[i]);
    }
    return bytes;
}

bool writeTga(const std::string& path, const RgbImage& image) {
    std::vector<unsigned char> bytes = tgaBytes(image);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fclose(f) == 0 && ok;
    return ok;
}
