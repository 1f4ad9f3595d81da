// Writes 24-bit uncompressed TGA files: an 18-byte header (image type 2, width and height
// little-endian at offsets 12 and 14, depth 24 at offset 16, every other byte 0) followed by
// the pixels, blue-green-red each, in the order given.
#pragma once

#include <string>
#include <vector>

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;  // width * height pixels, red, green, blue; row 0 first

    RgbImage(int width_, int height_)
        : width(width_), height(height_), rgb(static_cast<size_t>(width_ * height_ * 3), 0) {}
    unsigned char* pixel(int row, int column) { return &rgb[(row * width + column) * 3]; }
};

// The complete file contents.
std::vector<unsigned char> tgaBytes(const RgbImage& image);
// Writes the file; false when it cannot be written.
bool writeTga(const std::string& path, const RgbImage& image);
