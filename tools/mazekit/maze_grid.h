// MazeGrid: a rectangle of square cells with a wall on every cell side, and the ways of
// carving passages into it (a random depth-first maze, a fixed path, open rooms, loops).
#pragma once

#include <vector>

#include "tools/mazekit/random.h"

struct MazeCell {
    int x;  // column, along +x
    int z;  // row, along +z
};

class MazeGrid {
public:
    int columns = 0;  // cells along x
    int rows = 0;     // cells along z
    // Walls along z on the vertical grid line x (0 .. columns), beside cell row z:
    // index x * rows + z. Line 0 is the west border, line `columns` the east border.
    std::vector<unsigned char> lineXWalls;
    // Walls along x on the horizontal grid line z (0 .. rows), beside cell column x:
    // index z * columns + x. Line 0 is the south border (smallest z), line `rows` the north one.
    std::vector<unsigned char> lineZWalls;

    // Every wall present: each cell is closed on all four sides.
    MazeGrid(int columns, int rows);

    bool inside(MazeCell c) const { return c.x >= 0 && c.z >= 0 && c.x < columns && c.z < rows; }
    bool lineXWall(int line, int row) const { return lineXWalls[line * rows + row] != 0; }
    bool lineZWall(int line, int column) const { return lineZWalls[line * columns + column] != 0; }

    // Removes the wall between two side-by-side cells; false (and no change) when they are not
    // neighbours.
    bool openBetween(MazeCell a, MazeCell b);
    // True when the wall between two neighbouring cells is gone.
    bool isOpenBetween(MazeCell a, MazeCell b) const;

    // Border openings. side: 'S' (smallest z), 'N', 'W' (smallest x) or 'E'.
    void openBorder(MazeCell c, char side);

    // A perfect maze over all cells, grown depth first from `start`: every cell is reached by
    // exactly one route, and routes are long and winding.
    void carveDepthFirst(MazeRandom& random, MazeCell start);
    // Opens the walls between consecutive cells of `path` (each next to the one before).
    void carvePath(const std::vector<MazeCell>& path);
    // Removes every wall inside the rectangle of cells [x0, x1] x [z0, z1], making one room.
    void openRoom(int x0, int z0, int x1, int z1);
    // Removes `count` randomly chosen inner walls (never border walls), adding loops.
    void addLoops(MazeRandom& random, int count);

    // Cells reachable from `start` through open walls (flags indexed z * columns + x).
    std::vector<unsigned char> reachableFrom(MazeCell start) const;
};

// The cells of a double spiral over an odd square of cells: from the corner (0, 0) it winds
// inwards to the centre and out again between its own turns to the corner (n - 1, n - 1),
// visiting every cell once. Empty when n is even or below 3.
std::vector<MazeCell> doubleSpiralPath(int n);
