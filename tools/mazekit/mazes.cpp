#include "tools/mazekit/mazes.h"

MazeLayout gridMaze(int columns, int rows, unsigned long long seed, int loops, const WallStyle& style,
                    int entranceColumn) {
    MazeLayout layout{MazeGrid(columns, rows), style, ""};
    MazeRandom random(seed);
    const bool corner = entranceColumn < 0 || entranceColumn >= columns;
    const MazeCell entrance{corner ? 0 : entranceColumn, 0};
    layout.grid.carveDepthFirst(random, entrance);
    layout.grid.addLoops(random, loops);
    layout.grid.openBorder(entrance, 'S');
    layout.grid.openBorder({columns - 1, rows - 1}, 'N');
    if (corner) {
        layout.grid.openBorder(entrance, 'W');
        layout.grid.openBorder({columns - 1, rows - 1}, 'E');
    }
    layout.title = "maze " + std::to_string(columns) + " x " + std::to_string(rows) + " cells, seed " +
                   std::to_string(seed);
    return layout;
}

static WallStyle styleOf(double cellSize) {
    WallStyle style;
    style.cellSize = cellSize;
    return style;
}

MazeLayout fixedMaze(int number) {
    switch (number) {
    case 1: {
        MazeLayout layout = gridMaze(16, 16, 1, 0, styleOf(2.0), 6);
        layout.title = "maze1: 16 x 16 cells, entrance south, exit north-east";
        return layout;
    }
    case 2: {
        MazeLayout layout = gridMaze(6, 6, 7, 0, styleOf(3.0));
        layout.title = "maze2: small maze, 6 x 6 cells";
        return layout;
    }
    case 3: {
        MazeLayout layout = gridMaze(10, 10, 2, 3, styleOf(2.8));
        layout.title = "maze3: 10 x 10 cells with a few loops";
        return layout;
    }
    case 4: {
        MazeLayout layout = gridMaze(12, 12, 10, 4, styleOf(2.6));
        layout.grid.openRoom(1, 1, 3, 3);
        layout.grid.openRoom(7, 1, 10, 3);
        layout.grid.openRoom(5, 5, 6, 6);
        layout.grid.openRoom(1, 7, 3, 10);
        layout.grid.openRoom(8, 8, 10, 10);
        layout.title = "maze4: rooms and corridors, 12 x 12 cells";
        return layout;
    }
    case 5: {
        MazeLayout layout{MazeGrid(13, 13), styleOf(2.6), "maze5: double spiral, 13 x 13 cells"};
        layout.grid.carvePath(doubleSpiralPath(13));
        layout.grid.openBorder({0, 0}, 'S');
        layout.grid.openBorder({0, 0}, 'W');
        layout.grid.openBorder({12, 12}, 'N');
        layout.grid.openBorder({12, 12}, 'E');
        return layout;
    }
    case 6: {
        MazeLayout layout = gridMaze(15, 15, 16, 12, styleOf(2.35));
        layout.title = "maze6: large maze with loops, 15 x 15 cells";
        return layout;
    }
    default:
        return MazeLayout{MazeGrid(1, 1), WallStyle(), "empty"};
    }
}
