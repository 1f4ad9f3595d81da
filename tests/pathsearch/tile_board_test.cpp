// Building the tile board: extent and grid size, the tiles' edges, the blocking pass, reset.
#include "pathsearch/tile_board.h"
#include "tests/pathsearch/board_fixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();

std::string buildQuietly(TileBoard& board, const ObjModel& model, float ts, SearchStyle style,
                         BlockingPass pass = BlockingPass::TileRange) {
    CoutCapture out;
    board.build(model, ts, style, pass);
    return out.str();
}

struct GridCase {
    const char* name;
    std::vector<Vector3> corners;  // one triangle when three are given
    float tileSize;
    float minX, maxX, minZ, maxZ;
    int lastColumn, lastRow;
    const char* line;
};

TEST(TileBoardBuild, ExtentAndGridSize) {
    const GridCase cases[] = {
        {"no faces", {}, 0.5f, -0.001f, 0.001f, -0.001f, 0.001f, 1, 1, "grid size::4\n"},
        {"span -5..5 at 0.5",
         {{-5.0f, 0.0f, -5.0f}, {5.0f, 0.0f, 5.0f}, {0.0f, 2.0f, 0.0f}},
         0.5f, -5.0f, 5.0f, -5.0f, 5.0f, 21, 21, "grid size::484\n"},
        // Wholly at positive x: the grid still starts at -0.001.
        {"positive x",
         {{2.0f, 0.0f, 1.0f}, {3.0f, 0.0f, 1.0f}, {3.0f, 0.0f, 1.0f}},
         0.3f, -0.001f, 3.0f, -0.001f, 1.0f, 11, 4, "grid size::60\n"},
        // width 1.002 / 0.3 = 3.34 truncates to 3.
        {"truncation",
         {{1.001f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}},
         0.3f, -0.001f, 1.001f, -0.001f, 0.001f, 4, 1, "grid size::10\n"},
    };
    for (const GridCase& c : cases) {
        SCOPED_TRACE(c.name);
        ModelFixture m;
        if (!c.corners.empty()) {
            m.addTriangle(c.corners[0], c.corners[1], c.corners[2]);
        }
        TileBoard board;
        EXPECT_EQ(buildQuietly(board, m.get(), c.tileSize, SearchStyle::Tilewalk), c.line);
        EXPECT_EQ(board.minX, c.minX);
        EXPECT_EQ(board.maxX, c.maxX);
        EXPECT_EQ(board.minZ, c.minZ);
        EXPECT_EQ(board.maxZ, c.maxZ);
        EXPECT_EQ(board.lastColumn, c.lastColumn);
        EXPECT_EQ(board.lastRow, c.lastRow);
        EXPECT_EQ(board.tileCount(), (c.lastColumn + 1) * (c.lastRow + 1));
        EXPECT_EQ(board.tiles[0].minX, c.minX);
        EXPECT_EQ(board.tiles[0].minZ, c.minZ);
    }
}

TEST(TileBoardBuild, TilesAreLaidRowByRowWithTheirEdgesAndCentres) {
    ModelFixture m;
    m.addTriangle({-5.0f, 0.0f, -5.0f}, {5.0f, 0.0f, 5.0f}, {0.0f, 2.0f, 0.0f});
    TileBoard board;
    buildQuietly(board, m.get(), 0.5f, SearchStyle::Gridroute);
    // Column 21, row 21 ends at x = z = 6; tile 22 starts row 1.
    const Tile& last = board.tiles[board.tileCount() - 1];
    EXPECT_EQ(last.maxX, 6.0f);
    EXPECT_EQ(last.maxZ, 6.0f);
    EXPECT_EQ(board.tiles[22].minX, -5.0f);
    EXPECT_EQ(board.tiles[22].minZ, -4.5f);
    // An odd tile size: the edges come from column x tileSize + minX in single precision.
    ModelFixture odd;
    odd.addTriangle({1.7f, 1.0f, 2.3f}, {1.7f, 1.0f, 2.3f}, {1.7f, 1.0f, 2.3f});
    buildQuietly(board, odd.get(), 0.3f, SearchStyle::Gridroute);
    for (int i : {0, 7, board.tileCount() - 1}) {
        int c = i % (board.lastColumn + 1);
        int r = i / (board.lastColumn + 1);
        const Tile& t = board.tiles[i];
        volatile float x0 = float(c) * 0.3f;
        volatile float x1 = x0 + board.minX;
        volatile float z0 = float(r) * 0.3f;
        volatile float z1 = z0 + board.minZ;
        EXPECT_EQ(t.minX, x1);
        EXPECT_EQ(t.maxX, x1 + 0.3f);
        EXPECT_EQ(t.minZ, z1);
        EXPECT_EQ(t.maxZ, z1 + 0.3f);
        EXPECT_EQ(t.centre.x, x1 + 0.15f);
        EXPECT_EQ(t.centre.y, 0.0f);
        EXPECT_EQ(t.centre.z, z1 + 0.15f);
        EXPECT_FALSE(t.open || t.closed || t.blocked);
        EXPECT_TRUE(hasColour(t, kGridrouteFreeColour));
    }
}

TEST(TileBoardBuild, TileSizeThatCannotMakeAGridGivesAnEmptyBoard) {
    for (float ts : {0.0f, -1.0f, kNaN}) {
        SCOPED_TRACE(ts);
        ModelFixture m;
        m.addTriangle({-5.0f, 0.0f, -5.0f}, {5.0f, 0.0f, 5.0f}, {0.0f, 0.0f, 0.0f});
        TileBoard board;
        EXPECT_EQ(buildQuietly(board, m.get(), ts, SearchStyle::Gridroute), "grid size::0\n");
        EXPECT_EQ(board.tileCount(), 0);
        EXPECT_EQ(board.tiles, nullptr);
        EXPECT_FALSE(board.isTile(0));
    }
}

// A model with far-flung coordinates, or a tiny tile size, would ask for gigabytes of tiles.
TEST(TileBoardBuild, GridAboveTheTileLimitGivesAnEmptyBoardAndSaysSo) {
    const std::string refused = "tile board: the grid would have more than 4194304 tiles; the board stays empty\n"
                                "grid size::0\n";
    struct Case {
        const char* name;
        float farX, farZ, tileSize;
        const char* output;  // nullptr: the board is built
    };
    // x from 0 to farX gives trunc(farX / size) + 2 columns, likewise rows.
    const Case cases[] = {
        {"huge coordinates", 1e7f, 1e7f, 0.25f, refused.c_str()},
        {"one row, columns past the int range", 1e9f, 0.0f, 0.25f, refused.c_str()},
        {"tile size too small to count", 10.0f, 10.0f, 1e-30f, refused.c_str()},
        {"one tile over", 2097151.0f, 0.0f, 1.0f, refused.c_str()},  // 2097153 x 2
        {"exactly the limit", 2097150.0f, 0.0f, 1.0f, nullptr},     // 2097152 x 2
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ModelFixture m;
        m.addTriangle({0.0f, 0.0f, 0.0f}, {c.farX, 0.0f, 0.0f}, {0.0f, 0.0f, c.farZ});
        TileBoard board;
        std::string out = buildQuietly(board, m.get(), c.tileSize, SearchStyle::Tilewalk);
        if (c.output != nullptr) {
            EXPECT_EQ(out, c.output);
            EXPECT_EQ(board.tiles, nullptr);
            EXPECT_EQ(board.tileCount(), 0);
            EXPECT_FALSE(board.isTile(0));
        } else {
            EXPECT_EQ(out, "grid size::4194304\n");
            ASSERT_EQ(board.tileCount(), kMaxBoardTiles);
            EXPECT_TRUE(board.tiles[0].blocked);
            EXPECT_FALSE(board.tiles[kMaxBoardTiles - 1].blocked);
        }
    }
}

TEST(TileBoardBuild, FacesWithIndicesOutsideTheVertexArrayAreSkipped) {
    ModelFixture m;
    m.addTriangle({0.0f, 0.0f, 0.0f}, {0.5f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.5f});
    m.addTriangle({9.0f, 0.0f, 9.0f}, {9.0f, 0.0f, 9.0f}, {9.0f, 0.0f, 9.0f});
    m.faces[1].vertexIndex[1] = -1;                 // an unfilled slot
    m.addTriangle({7.0f, 0.0f, 7.0f}, {7.0f, 0.0f, 7.0f}, {7.0f, 0.0f, 7.0f});
    m.faces[2].vertexIndex[2] = 100;                // past the end
    TileBoard board;
    buildQuietly(board, m.get(), 1.0f, SearchStyle::Tilewalk);
    EXPECT_EQ(board.maxX, 0.5f);
    EXPECT_EQ(board.maxZ, 0.5f);
    EXPECT_EQ(board.tileCount(), 4);
    EXPECT_TRUE(board.tiles[0].blocked);
}

struct BlockCase {
    const char* name;
    SearchStyle style;
    float ys[3];
    bool blocks;
};

TEST(TileBoardBuild, GridrouteBlocksOnlyTrianglesWhoseLowestVertexIsBelowPointEight) {
    const BlockCase cases[] = {
        {"lowest at 0.8", SearchStyle::Gridroute, {0.8f, 0.9f, 3.0f}, false},
        {"lowest at 0.79", SearchStyle::Gridroute, {3.0f, 0.79f, 2.0f}, true},
        {"lowest at 0.79, last vertex", SearchStyle::Gridroute, {3.0f, 2.0f, 0.79f}, true},
        {"tilewalk blocks at any height", SearchStyle::Tilewalk, {5.0f, 5.0f, 5.0f}, true},
    };
    for (const BlockCase& c : cases) {
        SCOPED_TRACE(c.name);
        ModelFixture m;
        m.addTriangle({1.2f, c.ys[0], 1.2f}, {1.4f, c.ys[1], 1.2f}, {1.2f, c.ys[2], 1.4f});
        TileBoard board;
        buildQuietly(board, m.get(), 1.0f, c.style);
        int blocked = 0;
        for (int i = 0; i < board.tileCount(); ++i) {
            blocked += board.tiles[i].blocked;
            EXPECT_EQ(hasColour(board.tiles[i], kBlockedColour), board.tiles[i].blocked);
        }
        // The rectangle lies inside tile (1, 1) alone.
        EXPECT_EQ(board.tiles[board.lastColumn + 2].blocked, c.blocks);
        EXPECT_EQ(blocked, c.blocks ? 1 : 0);
    }
}

TEST(TileBoardBuild, RectangleTouchingATileEdgeBlocksThatTile) {
    // A first triangle fixes a 6 x 6 board at tile size 0.7; a second one is placed against
    // the edges of tile column 2 and row 3.
    ModelFixture base;
    base.addTriangle({2.9f, 5.0f, 2.9f}, {2.9f, 5.0f, 2.9f}, {2.9f, 5.0f, 2.9f});
    TileBoard ref;
    buildQuietly(ref, base.get(), 0.7f, SearchStyle::Gridroute);
    const int w = ref.lastColumn + 1;
    const float colMax = ref.tiles[2].maxX;       // right edge of column 2
    const float rowMin = ref.tiles[3 * w].minZ;   // top edge of row 3
    struct Case {
        const char* name;
        float x0, x1, z0, z1;
        std::vector<int> blocked;
    } cases[] = {
        {"left edge on column 2's right edge", colMax, colMax + 0.1f, 0.1f, 0.2f, {2, 3}},
        {"just past it", std::nextafter(colMax, 10.0f), colMax + 0.1f, 0.1f, 0.2f, {3}},
        {"far edge on row 3's near edge", 0.1f, 0.2f, rowMin - 0.1f, rowMin, {2 * w, 3 * w}},
        {"just short of it", 0.1f, 0.2f, rowMin - 0.1f, std::nextafter(rowMin, 0.0f), {2 * w}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ModelFixture m = base;
        m.addTriangle({c.x0, 0.0f, c.z0}, {c.x1, 0.0f, c.z0}, {c.x0, 0.0f, c.z1});
        TileBoard board;
        buildQuietly(board, m.get(), 0.7f, SearchStyle::Gridroute);
        ASSERT_EQ(board.tileCount(), ref.tileCount());
        std::vector<int> blocked;
        for (int i = 0; i < board.tileCount(); ++i) {
            if (board.tiles[i].blocked) blocked.push_back(i);
        }
        EXPECT_EQ(blocked, c.blocked);
    }
}

// The range pass must block exactly the tiles the all-tiles pass blocks, also for rectangles
// on tile edges, degenerate triangles, triangles reaching past the grid, and NaN corners.
TEST(TileBoardBuild, RangePassBlocksTheSameTilesAsTheAllTilesPass) {
    std::mt19937 rng(20261211);
    const float sizes[] = {0.25f, 0.3f, 0.5f, 0.7f, 1.0f, 0.1f};
    for (int round = 0; round < 60; ++round) {
        float ts = sizes[round % 6];
        SearchStyle style = round % 2 ? SearchStyle::Tilewalk : SearchStyle::Gridroute;
        std::uniform_real_distribution<float> coord(-5.0f, 7.0f);
        std::uniform_int_distribution<int> pick(0, 9);
        // Two point triangles fix the extent; the tiles' own edges then serve as coordinates,
        // so that rectangles touch tiles exactly.
        ModelFixture m;
        m.addTriangle({-4.0f, 0.0f, -4.0f}, {-4.0f, 0.0f, -4.0f}, {-4.0f, 0.0f, -4.0f});
        m.addTriangle({6.0f, 0.0f, 6.0f}, {6.0f, 0.0f, 6.0f}, {6.0f, 0.0f, 6.0f});
        TileBoard frame;
        buildQuietly(frame, m.get(), ts, style);
        std::vector<float> edges;
        for (int c = 0; c <= frame.lastColumn; ++c) {
            edges.push_back(frame.tiles[c].minX);
            edges.push_back(frame.tiles[c].maxX);
        }
        auto value = [&]() {
            int kind = pick(rng);
            float e = edges[rng() % edges.size()];
            if (kind < 4) return e;
            if (kind == 4) return std::nextafter(e, 100.0f);
            if (kind == 5) return std::nextafter(e, -100.0f);
            return coord(rng);
        };
        int triangles = 5 + int(rng() % 40);
        for (int t = 0; t < triangles; ++t) {
            Vector3 a(value(), coord(rng) * 0.2f, value());
            Vector3 b = pick(rng) == 0 ? a : Vector3(value(), coord(rng) * 0.2f, value());
            Vector3 c(value(), coord(rng) * 0.2f, value());
            m.addTriangle(a, b, c);
        }
        if (round % 10 == 0) {
            m.addTriangle({kNaN, 0.0f, 1.0f}, {1.0f, 0.0f, kNaN}, {2.0f, 0.0f, 2.0f});
        }
        TileBoard byRange;
        TileBoard byAll;
        buildQuietly(byRange, m.get(), ts, style, BlockingPass::TileRange);
        buildQuietly(byAll, m.get(), ts, style, BlockingPass::AllTiles);
        ASSERT_EQ(byRange.tileCount(), byAll.tileCount());
        int blocked = 0;
        for (int i = 0; i < byAll.tileCount(); ++i) {
            ASSERT_EQ(byRange.tiles[i].blocked, byAll.tiles[i].blocked) << "round " << round << " tile " << i;
            ASSERT_TRUE(hasColour(byRange.tiles[i], byAll.tiles[i].colour));
            blocked += byAll.tiles[i].blocked;
        }
        EXPECT_GT(blocked, 0);
        EXPECT_LT(blocked, byAll.tileCount());
    }
}

TEST(TileBoardReset, RepaintsFreeTilesAndClearsTheSearchMarks) {
    TileBoard board;
    buildMapBoard(board, {"#..", "..."}, 1.0f, SearchStyle::Gridroute);
    // A search left tile 1 on its path and tile 4 open; the blocked tile 0 was its start.
    for (int i : {0, 1, 4}) {
        board.tiles[i].open = true;
        board.tiles[i].closed = i != 4;
        board.tiles[i].g = 2.0f;
        board.tiles[i].f = 3.0f;
        board.tiles[i].parent = 5;
    }
    for (int k = 0; k < 3; ++k) {
        board.tiles[0].colour[k] = kGridrouteStartColour[k];
        board.tiles[1].colour[k] = kGridroutePathColour[k];
        board.tiles[4].colour[k] = kGridrouteOpenColour[k];
    }
    board.reset();
    for (int i = 0; i < board.tileCount(); ++i) {
        SCOPED_TRACE(i);
        const Tile& t = board.tiles[i];
        EXPECT_FALSE(t.open);
        EXPECT_FALSE(t.closed);
        EXPECT_TRUE(hasColour(t, i == 0 ? kBlockedColour : kGridrouteFreeColour));
    }
    // Costs and parents stay.
    EXPECT_EQ(board.tiles[4].g, 2.0f);
    EXPECT_EQ(board.tiles[4].f, 3.0f);
    EXPECT_EQ(board.tiles[4].parent, 5);
    EXPECT_TRUE(board.tiles[0].blocked);
}

}  // namespace
