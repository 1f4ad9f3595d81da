// The maze building blocks: carving, the double spiral, wall blocks and the file writers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/mazekit/images.h"
#include "tools/mazekit/maze_grid.h"
#include "tools/mazekit/mazes.h"
#include "tools/mazekit/obj_write.h"
#include "tools/mazekit/tga_write.h"
#include "tools/mazekit/wall_boxes.h"

namespace {

int openingCount(const MazeGrid& grid) {
    int open = 0;
    for (int z = 0; z < grid.rows; ++z) {
        for (int x = 0; x < grid.columns; ++x) {
            open += grid.isOpenBetween({x, z}, {x + 1, z}) ? 1 : 0;
            open += grid.isOpenBetween({x, z}, {x, z + 1}) ? 1 : 0;
        }
    }
    return open;
}

int reachableCount(const MazeGrid& grid, MazeCell from) {
    int n = 0;
    for (unsigned char seen : grid.reachableFrom(from)) n += seen;
    return n;
}

}  // namespace

TEST(MazeGrid, DepthFirstMazeIsPerfectAndFollowsItsSeed) {
    for (unsigned long long seed : {0ull, 1ull, 99ull}) {
        MazeGrid grid(9, 5);
        MazeRandom random(seed);
        grid.carveDepthFirst(random, {4, 2});
        // A tree over the cells: all of them connected by exactly cells - 1 openings.
        EXPECT_EQ(reachableCount(grid, {0, 0}), 45) << seed;
        EXPECT_EQ(openingCount(grid), 44) << seed;
    }
    MazeGrid a(8, 8), b(8, 8), c(8, 8);
    MazeRandom ra(5), rb(5), rc(6);
    a.carveDepthFirst(ra, {0, 0});
    b.carveDepthFirst(rb, {0, 0});
    c.carveDepthFirst(rc, {0, 0});
    EXPECT_EQ(a.lineXWalls, b.lineXWalls);
    EXPECT_EQ(a.lineZWalls, b.lineZWalls);
    EXPECT_NE(a.lineXWalls, c.lineXWalls);
}

TEST(MazeGrid, LoopsRoomsAndBordersOpenOnlyWhatTheySay) {
    MazeGrid grid(6, 4);
    MazeRandom random(3);
    grid.addLoops(random, 5);
    EXPECT_EQ(openingCount(grid), 5);
    // Border walls are never taken by loops.
    for (int z = 0; z < 4; ++z) EXPECT_TRUE(grid.lineXWall(0, z) && grid.lineXWall(6, z));
    for (int x = 0; x < 6; ++x) EXPECT_TRUE(grid.lineZWall(0, x) && grid.lineZWall(4, x));

    MazeGrid room(6, 4);
    room.openRoom(1, 1, 3, 2);  // 3 x 2 cells: 2 x 2 + 3 x 1 inner walls
    EXPECT_EQ(openingCount(room), 7);
    EXPECT_EQ(reachableCount(room, {2, 1}), 6);

    MazeGrid border(3, 3);
    border.openBorder({0, 0}, 'S');
    border.openBorder({1, 1}, 'N');  // not on the border: no change
    border.openBorder({2, 2}, 'E');
    EXPECT_FALSE(border.lineZWall(0, 0));
    EXPECT_TRUE(border.lineZWall(2, 1));
    EXPECT_FALSE(border.lineXWall(3, 2));
    EXPECT_FALSE(border.openBetween({0, 0}, {1, 1}));  // diagonal cells are no neighbours
}

TEST(DoubleSpiral, VisitsEveryCellOnceFromCornerToCorner) {
    for (int n : {3, 5, 7, 9, 13}) {
        std::vector<MazeCell> path = doubleSpiralPath(n);
        ASSERT_EQ(path.size(), size_t(n * n)) << n;
        std::vector<int> seen(n * n, 0);
        for (size_t i = 0; i < path.size(); ++i) {
            ASSERT_TRUE(path[i].x >= 0 && path[i].x < n && path[i].z >= 0 && path[i].z < n) << n;
            ++seen[path[i].z * n + path[i].x];
            if (i > 0) {
                int step = std::abs(path[i].x - path[i - 1].x) + std::abs(path[i].z - path[i - 1].z);
                EXPECT_EQ(step, 1) << n << " at " << i;
            }
        }
        for (int s : seen) EXPECT_EQ(s, 1) << n;
        EXPECT_EQ(path.front().x + path.front().z, 0);
        EXPECT_EQ(path.back().x, n - 1);
        EXPECT_EQ(path.back().z, n - 1);
        // It passes the centre halfway.
        EXPECT_EQ(path[path.size() / 2].x, n / 2);
        EXPECT_EQ(path[path.size() / 2].z, n / 2);
    }
    EXPECT_TRUE(doubleSpiralPath(4).empty());
    EXPECT_TRUE(doubleSpiralPath(1).empty());
}

// The blocks of every maze: no two overlap, every wall piece lies inside one, and every open
// piece and every cell centre lies outside all of them.
TEST(WallBoxes, CoverExactlyTheWallsWithoutOverlap) {
    auto inside = [](const WallBox& b, double x, double z) {
        return x > b.minX && x < b.maxX && z > b.minZ && z < b.maxZ;
    };
    for (int n = 1; n <= 6; ++n) {
        MazeLayout layout = fixedMaze(n);
        const MazeGrid& g = layout.grid;
        const double c = layout.style.cellSize;
        std::vector<WallBox> boxes = wallBoxes(g, layout.style);
        for (size_t i = 0; i < boxes.size(); ++i) {
            EXPECT_GT(boxes[i].maxX, boxes[i].minX);
            EXPECT_GT(boxes[i].maxZ, boxes[i].minZ);
            for (size_t j = i + 1; j < boxes.size(); ++j) {
                bool overlap = boxes[i].minX < boxes[j].maxX - 1e-9 && boxes[j].minX < boxes[i].maxX - 1e-9 &&
                               boxes[i].minZ < boxes[j].maxZ - 1e-9 && boxes[j].minZ < boxes[i].maxZ - 1e-9;
                EXPECT_FALSE(overlap) << "maze" << n << " blocks " << i << " and " << j;
            }
        }
        auto covered = [&](double x, double z) {
            int count = 0;
            for (const WallBox& b : boxes) count += inside(b, x, z) ? 1 : 0;
            return count;
        };
        const double x0 = -g.columns * c / 2, z0 = -g.rows * c / 2;
        for (int line = 0; line <= g.columns; ++line) {
            for (int row = 0; row < g.rows; ++row) {
                EXPECT_EQ(covered(x0 + line * c, z0 + (row + 0.5) * c), g.lineXWall(line, row) ? 1 : 0)
                    << "maze" << n << " x line " << line << " row " << row;
            }
        }
        for (int line = 0; line <= g.rows; ++line) {
            for (int column = 0; column < g.columns; ++column) {
                EXPECT_EQ(covered(x0 + (column + 0.5) * c, z0 + line * c), g.lineZWall(line, column) ? 1 : 0)
                    << "maze" << n << " z line " << line << " column " << column;
            }
        }
        for (int z = 0; z < g.rows; ++z) {
            for (int x = 0; x < g.columns; ++x) EXPECT_EQ(covered(x0 + (x + 0.5) * c, z0 + (z + 0.5) * c), 0);
        }
    }
}

TEST(ObjText, OneBlockInTheViewersSubset) {
    std::string text = objText({{-1, 1, 2, 2.5, 0.75}}, "one block");
    EXPECT_EQ(text.rfind("# one block\n", 0), 0u);
    EXPECT_NE(text.find("\nv -1 0 2\n"), std::string::npos);
    EXPECT_NE(text.find("\nv 1 0.75 2.5\n"), std::string::npos);
    EXPECT_EQ(text.find("-0 "), std::string::npos);
    // Every face line has three corners of the form v/t/n.
    int faces = 0;
    size_t pos = 0;
    while ((pos = text.find("\nf ", pos)) != std::string::npos) {
        ++pos;
        std::string line = text.substr(pos, text.find('\n', pos) - pos);
        int a[9];
        ASSERT_EQ(std::sscanf(line.c_str(), "f %d/%d/%d %d/%d/%d %d/%d/%d", &a[0], &a[1], &a[2], &a[3],
                              &a[4], &a[5], &a[6], &a[7], &a[8]),
                  9)
            << line;
        ++faces;
    }
    EXPECT_EQ(faces, 10);
}

TEST(TgaBytes, HeaderAsTheLoaderReadsItAndPixelsBlueGreenRed) {
    RgbImage image(300, 2);
    image.pixel(0, 0)[0] = 10;
    image.pixel(0, 0)[1] = 20;
    image.pixel(0, 0)[2] = 30;
    image.pixel(1, 299)[0] = 7;
    std::vector<unsigned char> bytes = tgaBytes(image);
    ASSERT_EQ(bytes.size(), 18u + 300 * 2 * 3);
    const unsigned char header[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 300 & 255, 300 >> 8, 2, 0, 24, 0};
    EXPECT_EQ(std::vector<unsigned char>(bytes.begin(), bytes.begin() + 18),
              std::vector<unsigned char>(header, header + 18));
    EXPECT_EQ(bytes[18], 30);
    EXPECT_EQ(bytes[19], 20);
    EXPECT_EQ(bytes[20], 10);
    EXPECT_EQ(bytes[18 + (300 + 299) * 3 + 2], 7);
}

TEST(HeadingRed, InvertsTheViewersArrowRule) {
    // The viewer's arrow for red r is (-cos, sin) of r * 2 pi / 255.
    struct Case {
        double dx, dz;
        int red;
    } cases[] = {{-1, 0, 0}, {0, 1, 64}, {1, -0.01, 128}, {0, -1, 191}, {-1, -0.001, 0}, {0, 0, 0}};
    for (const Case& c : cases) EXPECT_EQ(headingRed(c.dx, c.dz), c.red) << c.dx << " " << c.dz;
    for (int r = 0; r < 255; ++r) {
        double angle = r * 2 * 3.14159265358979 / 255;
        EXPECT_EQ(headingRed(-std::cos(angle), std::sin(angle)), r);
    }
}
