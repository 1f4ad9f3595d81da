#include "tools/mazekit/maze_grid.h"

#include <cstdlib>

MazeGrid::MazeGrid(int columns_, int rows_)
    : columns(columns_), rows(rows_),
      lineXWalls(static_cast<size_t>((columns_ + 1) * rows_), 1),
      lineZWalls(static_cast<size_t>(columns_ * (rows_ + 1)), 1) {}

bool MazeGrid::openBetween(MazeCell a, MazeCell b) {
    if (!inside(a) || !inside(b)) return false;
    if (a.z == b.z && std::abs(a.x - b.x) == 1) {
        lineXWalls[(a.x > b.x ? a.x : b.x) * rows + a.z] = 0;
        return true;
    }
    if (a.x == b.x && std::abs(a.z - b.z) == 1) {
        lineZWalls[(a.z > b.z ? a.z : b.z) * columns + a.x] = 0;
        return true;
    }
    return false;
}

bool MazeGrid::isOpenBetween(MazeCell a, MazeCell b) const {
    if (!inside(a) || !inside(b)) return false;
    if (a.z == b.z && std::abs(a.x - b.x) == 1) return !lineXWall(a.x > b.x ? a.x : b.x, a.z);
    if (a.x == b.x && std::abs(a.z - b.z) == 1) return !lineZWall(a.z > b.z ? a.z : b.z, a.x);
    return false;
}

void MazeGrid::openBorder(MazeCell c, char side) {
    if (!inside(c)) return;
    if (side == 'S' && c.z == 0) lineZWalls[c.x] = 0;
    if (side == 'N' && c.z == rows - 1) lineZWalls[rows * columns + c.x] = 0;
    if (side == 'W' && c.x == 0) lineXWalls[c.z] = 0;
    if (side == 'E' && c.x == columns - 1) lineXWalls[columns * rows + c.z] = 0;
}

static const MazeCell steps[4] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};

void MazeGrid::carveDepthFirst(MazeRandom& random, MazeCell start) {
    std::vector<unsigned char> visited(static_cast<size_t>(columns * rows), 0);
    std::vector<MazeCell> stack;
    if (!inside(start)) return;
    visited[start.z * columns + start.x] = 1;
    stack.push_back(start);
    while (!stack.empty()) {
        MazeCell cur = stack.back();
        MazeCell choices[4];
        int count = 0;
        for (const MazeCell& s : steps) {
            MazeCell n{cur.x + s.x, cur.z + s.z};
            if (inside(n) && !visited[n.z * columns + n.x]) choices[count++] = n;
        }
        if (count == 0) {
            stack.pop_back();
            continue;
        }
        MazeCell next = choices[random.below(count)];
        openBetween(cur, next);
        visited[next.z * columns + next.x] = 1;
        stack.push_back(next);
    }
}

void MazeGrid::carvePath(const std::vector<MazeCell>& path) {
    for (size_t i = 1; i < path.size(); ++i) openBetween(path[i - 1], path[i]);
}

void MazeGrid::openRoom(int x0, int z0, int x1, int z1) {
    for (int z = z0; z <= z1; ++z) {
        for (int x = x0; x <= x1; ++x) {
            if (x < x1) openBetween({x, z}, {x + 1, z});
            if (z < z1) openBetween({x, z}, {x, z + 1});
        }
    }
}

void MazeGrid::addLoops(MazeRandom& random, int count) {
    // Inner walls only: vertical lines 1 .. columns - 1 and horizontal lines 1 .. rows - 1.
    int innerX = (columns - 1) * rows;
    int innerZ = columns * (rows - 1);
    if (innerX + innerZ <= 0) return;
    int removed = 0;
    for (int attempt = 0; removed < count && attempt < 100 * (count + 1); ++attempt) {
        int k = random.below(innerX + innerZ);
        if (k < innerX) {
            int line = 1 + k / rows, row = k % rows;
            if (lineXWall(line, row)) {
                lineXWalls[line * rows + row] = 0;
                ++removed;
            }
        } else {
            k -= innerX;
            int line = 1 + k / columns, column = k % columns;
            if (lineZWall(line, column)) {
                lineZWalls[line * columns + column] = 0;
                ++removed;
            }
        }
    }
}

std::vector<unsigned char> MazeGrid::reachableFrom(MazeCell start) const {
    std::vector<unsigned char> seen(static_cast<size_t>(columns * rows), 0);
    if (!inside(start)) return seen;
    std::vector<MazeCell> todo{start};
    seen[start.z * columns + start.x] = 1;
    while (!todo.empty()) {
        MazeCell cur = todo.back();
        todo.pop_back();
        for (const MazeCell& s : steps) {
            MazeCell n{cur.x + s.x, cur.z + s.z};
            if (inside(n) && !seen[n.z * columns + n.x] && isOpenBetween(cur, n)) {
                seen[n.z * columns + n.x] = 1;
                todo.push_back(n);
            }
        }
    }
    return seen;
}

std::vector<MazeCell> doubleSpiralPath(int n) {
    std::vector<MazeCell> arm;
    if (n < 3 || n % 2 == 0) return arm;
    // One arm: east n - 1 cells, then pairs of legs n - 2, n - 4, ... turning left each time.
    // It ends in the centre; the other arm is the same turned half round the centre.
    MazeCell c{0, 0};
    arm.push_back(c);
    int direction = 0;
    auto walk = [&](int length) {
        for (int i = 0; i < length; ++i) {
            c.x += steps[direction].x;
            c.z += steps[direction].z;
            arm.push_back(c);
        }
        direction = (direction + 1) % 4;
    };
    walk(n - 1);
    for (int length = n - 2; length > 0; length -= 2) {
        walk(length);
        walk(length);
    }
    std::vector<MazeCell> path = arm;
    for (size_t i = arm.size() - 1; i-- > 0;) path.push_back({n - 1 - arm[i].x, n - 1 - arm[i].z});
    return path;
}
