// The open-tile index against the whole-board scan it replaces: the pick rule on odd costs,
// random updates, and whole searches run side by side with the plain scan.
#include "pathsearch/open_tile_index.h"
#include "pathsearch/path_search.h"
#include "tests/pathsearch/board_fixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

std::vector<Tile> openTiles(const std::vector<float>& fs) {
    std::vector<Tile> tiles(fs.size());
    for (size_t i = 0; i < fs.size(); ++i) {
        tiles[i].open = true;
        tiles[i].f = fs[i];
    }
    return tiles;
}

TEST(OpenTileIndex, PicksWhatTheScanPicks) {
    struct Case {
        const char* name;
        std::vector<float> f;
        int expected;
    } cases[] = {
        {"integer part decides, lowest index first", {3.7f, 3.2f, 2.9f, 2.95f, 2.1f}, 2},
        {"never NaN, never 10000000 or more", {kNaN, 1e7f, 2e7f, kInf}, -1},
        {"just below 10000000", {1e7f, 9999999.0f}, 1},
        {"no open tiles", {}, -1},
        // Negative fractions beat an equal integer part seen before them.
        {"negative fractions, later wins", {-2.5f, -2.7f, -2.0f}, 1},
        {"negative zero part after positive", {0.2f, -0.5f}, 1},
        {"negative zero part first", {-0.5f, 0.2f}, 0},
        {"negative whole numbers, first wins", {-3.0f, -3.0f, -2.5f}, 0},
        {"below the int range", {-kInf, -3e9f, 4.0f}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Tile> tiles = openTiles(c.f);
        EXPECT_EQ(scanOpenTiles(tiles.data(), int(tiles.size())), c.expected);
        OpenTileIndex index;
        index.rebuild(tiles.data(), int(tiles.size()));
        EXPECT_EQ(index.pick(tiles.data(), int(tiles.size())), c.expected);
    }
}

TEST(OpenTileIndex, StaysExactThroughRandomOpeningsRecostsAndCloses) {
    const float pool[] = {0.0f, -0.0f, 0.5f, 1.0f, 1.5f, 2.0f, 2.25f, 7.9f, -0.5f, -1.0f,
                          -1.5f, -2.0f, -2.5f, 9999999.0f, 1e7f, 3e7f, kNaN, kInf, -kInf,
                          -3e9f, -2147483648.0f, 123456.75f};
    std::mt19937 rng(7);
    for (int round = 0; round < 200; ++round) {
        int n = 1 + int(rng() % 40);
        std::vector<Tile> tiles(n);
        OpenTileIndex index;
        for (int op = 0; op < 300; ++op) {
            int i = int(rng() % n);
            Tile& t = tiles[i];
            switch (rng() % 6) {
                case 0:
                case 1:
                case 2: {  // open or re-cost
                    bool wasOpen = t.open;
                    float oldF = t.f;
                    t.open = true;
                    t.f = pool[rng() % (sizeof pool / sizeof pool[0])];
                    index.noteOpened(tiles.data(), i, wasOpen, oldF);
                    break;
                }
                case 3:
                    t.open = false;
                    break;
                case 4: {  // what a step does: close the pick
                    int p = index.pick(tiles.data(), n);
                    if (p >= 0) tiles[p].open = false;
                    break;
                }
                default:
                    if (rng() % 8 == 0) index.rebuild(tiles.data(), n);
                    break;
            }
            ASSERT_EQ(index.pick(tiles.data(), n), scanOpenTiles(tiles.data(), n))
                << "round " << round << " op " << op;
        }
    }
}

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void expectSameBoards(const TileBoard& a, const TileBoard& b, int round) {
    ASSERT_EQ(a.tileCount(), b.tileCount());
    for (int i = 0; i < a.tileCount(); ++i) {
        const Tile& x = a.tiles[i];
        const Tile& y = b.tiles[i];
        ASSERT_TRUE(x.open == y.open && x.closed == y.closed && x.blocked == y.blocked &&
                    x.parent == y.parent && sameBits(x.g, y.g) && sameBits(x.h, y.h) &&
                    sameBits(x.f, y.f) && hasColour(x, y.colour))
            << "round " << round << " tile " << i;
    }
}

// Two searches on two copies of a random board, one picking through the index and one
// scanning the board, driven by the same random keys: a new start or goal, a method switch
// in mid-search, a change of expansions per step, a board reset. Before every step both must be about to
// pick the same tile, which must also be the scan's pick on the indexed board; after each
// step the console output must match, and after each search the boards.
TEST(OpenTileIndex, WholeSearchesMatchThePlainScan) {
    std::mt19937 rng(20261211);
    const float sizes[] = {0.25f, 0.3f, 0.5f, 1.0f, 0.1f, 0.7f};
    const SearchMethod methods[] = {BreadthFirst, Dijkstra, AStarManhattan, AStarBreakingTies};
    for (int round = 0; round < 240; ++round) {
        SearchStyle style = round % 3 == 2 ? SearchStyle::Tilewalk : SearchStyle::Gridroute;
        int columns = 2 + int(rng() % (round % 10 == 0 ? 60 : 24));
        int rows = 2 + int(rng() % (round % 10 == 0 ? 60 : 24));
        int density = int(rng() % 40);
        std::vector<std::string> map(rows, std::string(columns, '.'));
        for (auto& line : map) {
            for (char& c : line) c = int(rng() % 100) < density ? '#' : '.';
        }
        float ts = sizes[rng() % 6];
        TileBoard a;
        TileBoard b;
        buildMapBoard(a, map, ts, style);
        buildMapBoard(b, map, ts, style);
        int count = a.tileCount();
        PathSearch indexed(style);
        PathSearch scanning(style);
        scanning.useOpenIndex = false;
        auto both = [&](auto action) {
            action(indexed);
            action(scanning);
        };
        auto randomTile = [&] { return rng() % 8 == 0 ? int(rng() % 3) : int(rng() % count); };
        int start = randomTile();
        int goal = rng() % 10 == 0 ? start : randomTile();
        SearchMethod method = methods[rng() % 4];
        both([&](PathSearch& s) { s.method = method; });
        indexed.init(a, start, goal);
        scanning.init(b, start, goal);
        if (style == SearchStyle::Gridroute) both([&](PathSearch& s) { s.restartAt(start); });

        std::vector<int> picksIndexed;
        std::vector<int> picksScanning;
        int searches = 0;
        for (int frame = 0; frame < 6000 && searches < 3; ++frame) {
            if (style == SearchStyle::Gridroute) {
                int event = int(rng() % 100);
                if (event < 3) {
                    SearchMethod m = methods[rng() % 4];
                    both([&](PathSearch& s) { s.method = m; });
                } else if (event < 5) {
                    int spf = int(rng() % 5);
                    both([&](PathSearch& s) { s.stepsPerFrame = spf; });
                } else if (event == 5) {
                    // The board cleared under a running search: nothing is open any more.
                    a.reset();
                    b.reset();
                } else if (event == 6 || !indexed.running) {
                    expectSameBoards(a, b, round);
                    if (!indexed.running) ++searches;
                    int t = randomTile();
                    if (rng() % 3 == 0) both([&](PathSearch& s) { s.setGoal(t); });
                    int from = randomTile();
                    both([&](PathSearch& s) { s.restartAt(from); });
                }
            }
            if (!indexed.running) break;
            int next = indexed.pickOpen();
            ASSERT_EQ(next, indexed.pickOpenScan()) << "round " << round << " frame " << frame;
            ASSERT_EQ(next, scanning.pickOpen()) << "round " << round << " frame " << frame;
            if (style == SearchStyle::Tilewalk || indexed.stepsPerFrame == 1) {
                picksIndexed.push_back(next);
                picksScanning.push_back(scanning.pickOpen());
            }
            std::string outIndexed, outScanning;
            {
                CoutCapture out;
                indexed.step();
                outIndexed = out.str();
            }
            {
                CoutCapture out;
                scanning.step();
                outScanning = out.str();
            }
            ASSERT_EQ(outIndexed, outScanning) << "round " << round;
            ASSERT_EQ(indexed.running, scanning.running);
            ASSERT_EQ(indexed.cycles_taken, scanning.cycles_taken);
        }
        EXPECT_EQ(picksIndexed, picksScanning);
        expectSameBoards(a, b, round);
    }
}

}  // namespace
