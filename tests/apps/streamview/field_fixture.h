// Helpers for the flow-field and particle tests: pixel arrays made in memory and a capture of
// the console.
#pragma once

#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "apps/streamview/flow_field.h"

// A width x height pixel array, 3 bytes per pixel (red, green, blue), exactly as large as the
// image: red of pixel s is red(s), green and blue are fixed.
inline std::vector<unsigned char> makePixels(int width, int height, const std::function<int(int)>& red,
                                             int green = 0, int blue = 0) {
    std::vector<unsigned char> pixels(size_t(width) * size_t(height) * 3);
    for (int s = 0; s < width * height; ++s) {
        pixels[3 * size_t(s)] = static_cast<unsigned char>(red(s));
        pixels[3 * size_t(s) + 1] = static_cast<unsigned char>(green);
        pixels[3 * size_t(s) + 2] = static_cast<unsigned char>(blue);
    }
    return pixels;
}

// Redirects std::cout while alive; lines() splits what was written.
class ConsoleCapture {
public:
    ConsoleCapture() : saved(std::cout.rdbuf(buffer.rdbuf())) {}
    ~ConsoleCapture() { std::cout.rdbuf(saved); }
    std::vector<std::string> lines() const {
        std::vector<std::string> result;
        std::istringstream in(buffer.str());
        for (std::string line; std::getline(in, line);) {
            result.push_back(line);
        }
        return result;
    }

private:
    std::ostringstream buffer;
    std::streambuf* saved;
};

// Frees a field's cells when the test scope ends; the program keeps its one field for the
// whole run, but fields made in tests would otherwise show as leaks.
class ReleaseCells {
public:
    explicit ReleaseCells(FlowField& field_) : field(field_) {}
    ~ReleaseCells() {
        delete[] field.cells;
        field.cells = nullptr;
        field.cellCount = 0;
    }
    ReleaseCells(const ReleaseCells&) = delete;
    ReleaseCells& operator=(const ReleaseCells&) = delete;

private:
    FlowField& field;
};

// A field built from an image whose every pixel has the same red value; console output dropped.
inline void buildUniform(FlowField& field, int width, int height, int red) {
    std::vector<unsigned char> pixels = makePixels(width, height, [red](int) { return red; });
    ConsoleCapture quiet;
    field.build(float(width), float(height), pixels.data(), 3);
}
