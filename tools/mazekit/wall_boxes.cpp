#include "tools/mazekit/wall_boxes.h"

std::vector<WallBox> wallBoxes(const MazeGrid& grid, const WallStyle& style) {
    std::vector<WallBox> boxes;
    const double half = style.thickness / 2;
    const double originX = -grid.columns * style.cellSize / 2;
    const double originZ = -grid.rows * style.cellSize / 2;
    auto lineX = [&](int i) { return originX + i * style.cellSize; };
    auto lineZ = [&](int j) { return originZ + j * style.cellSize; };

    // Walls along x, merged along each horizontal line; each box also covers the posts at its
    // ends and between its pieces.
    for (int j = 0; j <= grid.rows; ++j) {
        int i = 0;
        while (i < grid.columns) {
            if (!grid.lineZWall(j, i)) {
                ++i;
                continue;
            }
            int first = i;
            while (i < grid.columns && grid.lineZWall(j, i)) ++i;
            boxes.push_back({lineX(first) - half, lineX(i) + half, lineZ(j) - half, lineZ(j) + half,
                             style.height});
        }
    }

    // A post (grid point) is covered when a wall along x touches it.
    auto postCovered = [&](int i, int j) {
        return (i > 0 && grid.lineZWall(j, i - 1)) || (i < grid.columns && grid.lineZWall(j, i));
    };
    // Walls along z, merged along each vertical line but split at covered posts; a box reaches
    // into the post at its end only when nothing covers that post.
    for (int i = 0; i <= grid.columns; ++i) {
        int j = 0;
        while (j < grid.rows) {
            if (!grid.lineXWall(i, j)) {
                ++j;
                continue;
            }
            int first = j;
            ++j;
            while (j < grid.rows && grid.lineXWall(i, j) && !postCovered(i, j)) ++j;
            double z0 = postCovered(i, first) ? lineZ(first) + half : lineZ(first) - half;
            double z1 = postCovered(i, j) ? lineZ(j) - half : lineZ(j) + half;
            boxes.push_back({lineX(i) - half, lineX(i) + half, z0, z1, style.height});
        }
    }
    return boxes;
}
