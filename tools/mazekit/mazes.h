// The maze layouts: a random grid maze with the usual entrance and exit, and the six fixed
// mazes the viewers load (maze1 for tilewalk, maze2 to maze6 for gridroute).
#pragma once

#include <string>
#include <vector>

#include "tools/mazekit/maze_grid.h"
#include "tools/mazekit/wall_boxes.h"

struct MazeLayout {
    MazeGrid grid;
    WallStyle style;
    std::string title;  // one line for the file's first comment
};

// A perfect maze of columns x rows cells grown from `seed`; `loops` inner walls are then removed
// at random, so that some places can be reached in more than one way. With entranceColumn < 0
// (or not a column of the grid) it is entered at the corner cell (0, 0) through its south and
// west sides and left at the opposite corner through its north and east sides. Otherwise it is
// entered through the south side of cell (entranceColumn, 0), grown from there, and left through
// the north side of the far corner cell.
MazeLayout gridMaze(int columns, int rows, unsigned long long seed, int loops, const WallStyle& style,
                    int entranceColumn = -1);

// Fixed maze number 1 to 6; an empty 1 x 1 grid for any other number.
//  1: 16 x 16 cells of 2.0, entered from the south at cell (6, 0), left at the north-east
//     corner: at tile size 0.3 its board has 109 x 109 tiles, tile 44 lies in the entrance and
//     tile 11111 in the far corner cell.
//  2: a small maze, 6 x 6 cells of 3.0.          3: 10 x 10 cells of 2.8 with a few loops.
//  4: rooms and corridors, 12 x 12 cells of 2.6.  5: a double spiral, 13 x 13 cells of 2.6.
//  6: a large maze with loops, 15 x 15 cells of 2.35.
MazeLayout fixedMaze(int number);
