// WallBox: one wall block standing on the ground; wallBoxes turns a MazeGrid into blocks.
#pragma once

#include <vector>

#include "tools/mazekit/maze_grid.h"

struct WallBox {
    double minX, maxX;  // footprint on the ground plane
    double minZ, maxZ;
    double height;      // the box stands on y = 0 and reaches y = height
};

struct WallStyle {
    double cellSize = 2.0;   // distance between neighbouring wall lines
    double thickness = 0.2;  // wall thickness; at most 0.25 so that a wall always blocks a whole
                             // tile row even where only its sides count (the smallest tile is 0.25)
    double height = 1.0;
};

// The walls of `grid` as boxes, centred on the origin. Collinear wall pieces are merged into
// one box, and boxes only touch, never overlap, so no two top faces fight for the same pixels.
// The grid line x = i lies at i * cellSize - columns * cellSize / 2, likewise for z.
std::vector<WallBox> wallBoxes(const MazeGrid& grid, const WallStyle& style);
