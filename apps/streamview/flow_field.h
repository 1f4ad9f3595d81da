// FlowField: one short horizontal arrow per image pixel, laid over the ground plane y = 0.
// The red value of each pixel is a heading, 0 to 255 covering one full turn.
#pragma once

#include "core/vector.h"

// One cell of the field: its arrow (x and z set, length 0.1) and its centre on the ground.
struct FlowCell {
    Vector3 direction;
    Vector3 position;
};

// Red value r gives the heading r * flowAngleScale radians: 2 pi / 255 with pi as 3.1415927.
constexpr float flowAngleScale = 0.024639944f;

// The largest field built: one arrow per pixel is drawn every frame, so an image of more than
// 1024 x 1024 pixels (a header can claim 32767 x 32767) would take gigabytes of cells and
// minutes per frame. Such an image gets an empty field.
constexpr int kMaxFlowCells = 1 << 20;

class FlowField {
public:
    // Cell s = i * height + j: i runs along x (image width), j along z (image height), so one
    // step in +x adds height to the index and one step in +z adds 1.
    FlowCell* cells = nullptr;  // cellCount records, allocated by build, kept for the whole run
    int cellCount = 0;
    float width = 0.0f;
    float height = 0.0f;
    float cellSizeZ = 0.0f;
    float cellSizeX = 0.0f;

    // Fills the field from an image of width x height pixels whose pixel array holds
    // bytesPerPixel bytes per pixel, red first. Only 3-byte pixels are read; with no pixel data,
    // other pixel sizes, no whole pixel or more than kMaxFlowCells pixels the field stays empty
    // (cellCount 0). Prints the diagnostic lines. Call once.
    void build(float width_, float height_, const unsigned char* pixels, int bytesPerPixel);
    // One line per cell, dark blue at the centre to light blue at the tip; leaves the current
    // colour at (0.4, 0.4, 0.4).
    void draw() const;
};
