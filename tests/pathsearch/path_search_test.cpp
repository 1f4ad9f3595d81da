// The search engine: complete searches checked tile by tile, pick order, costs, the end of a
// search with and without a path, and indices outside the board.
#include "pathsearch/path_search.h"
#include "tests/pathsearch/board_fixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// The tile each step will pick, recorded with one expansion per step, and the console text.
struct SearchRun {
    std::vector<int> picks;
    std::string out;
};

SearchRun runToEnd(PathSearch& search, int maxSteps = 1000) {
    SearchRun run;
    CoutCapture out;
    search.stepsPerFrame = 1;
    for (int n = 0; n < maxSteps && search.running; ++n) {
        int next = search.pickOpen();
        EXPECT_EQ(next, search.pickOpenScan());
        if (next >= 0) run.picks.push_back(next);
        search.step();
    }
    run.out = out.str();
    return run;
}

// Colour of each tile as a letter: S start, G goal, P path, O opened, # blocked, . free.
std::vector<std::string> colourMap(const TileBoard& board, SearchStyle style) {
    bool gr = style == SearchStyle::Gridroute;
    const float tilewalkOpen[3] = {0.0f, 0.5f, 0.7f};
    std::vector<std::string> map(board.lastRow + 1, std::string(board.lastColumn + 1, '?'));
    for (int i = 0; i < board.tileCount(); ++i) {
        const Tile& t = board.tiles[i];
        char c = '?';
        if (hasColour(t, gr ? kGridrouteStartColour : kTilewalkStartColour)) c = 'S';
        if (hasColour(t, kGoalColour)) c = 'G';
        if (hasColour(t, gr ? kGridroutePathColour : kTilewalkPathColour)) c = 'P';
        if (hasColour(t, gr ? kGridrouteOpenColour : tilewalkOpen)) c = 'O';
        if (hasColour(t, kBlockedColour)) c = '#';
        if (hasColour(t, gr ? kGridrouteFreeColour : kTilewalkFreeColour)) c = '.';
        map[board.rowOf(i)][board.columnOf(i)] = c;
    }
    return map;
}

std::vector<int> pathFrom(const TileBoard& board, int goal) {
    std::vector<int> path;
    for (int i = goal; i != -1 && path.size() <= size_t(board.tileCount()); i = board.tiles[i].parent) {
        path.push_back(i);
    }
    return path;
}

const std::vector<std::string> kWallMap = {"....", ".##.", "...."};

struct SearchCase {
    const char* name;
    SearchStyle style;
    SearchMethod method;
    std::vector<int> picks;
    std::vector<int> path;  // from the goal back to the start
    std::vector<std::string> colours;
    const char* out;
};

TEST(PathSearchRun, CompleteSearchOnASmallBoard) {
    // Start tile 0 (top left), goal tile 11 (bottom right), a wall of two tiles between.
    const SearchCase cases[] = {
        // Lowest index first; tile 11, opened from 7, is re-parented by 10 before it is picked.
        {"breadth first", SearchStyle::Gridroute, BreadthFirst,
         {0, 1, 2, 3, 4, 7, 8, 9, 10, 11}, {11, 10, 9, 8, 4, 0},
         {"SOOO", "P##O", "PPPG"},
         "total tiles covered on path: 6\ncycles_taken: 10\n"},
        {"dijkstra", SearchStyle::Gridroute, Dijkstra,
         {0, 1, 4, 2, 8, 3, 9, 7, 10, 11}, {11, 10, 9, 8, 4, 0},
         {"SOOO", "P##O", "PPPG"},
         "total tiles covered on path: 6\ncycles_taken: 10\n"},
        // f = h: distance to the goal plus a tenth of the distance from the start-goal line.
        {"tilewalk", SearchStyle::Tilewalk, AStarBreakingTies,
         {0, 1, 2, 3, 7, 11}, {11, 7, 3, 2, 1, 0},
         {"SPPP", "O##P", "...G"},
         "cycles_taken: 6\n"},
    };
    for (const SearchCase& c : cases) {
        SCOPED_TRACE(c.name);
        TileBoard board;
        buildMapBoard(board, kWallMap, 1.0f, c.style);
        PathSearch search(c.style);
        search.method = c.method;
        search.init(board, 0, 11);
        if (c.style == SearchStyle::Gridroute) {
            EXPECT_FALSE(search.running);
            search.restartAt(0);
        }
        ASSERT_TRUE(search.running);
        SearchRun run = runToEnd(search);
        EXPECT_EQ(run.picks, c.picks);
        EXPECT_EQ(pathFrom(board, 11), c.path);
        EXPECT_EQ(colourMap(board, c.style), c.colours);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(search.cycles_taken, int(c.picks.size()));
        EXPECT_FALSE(search.running);
        // Every picked tile is closed and no longer open; every other free tile is untouched
        // or still open.
        for (int i = 0; i < board.tileCount(); ++i) {
            bool picked = std::find(c.picks.begin(), c.picks.end(), i) != c.picks.end();
            EXPECT_EQ(board.tiles[i].closed, picked) << i;
            if (picked) {
                EXPECT_FALSE(board.tiles[i].open) << i;
            }
        }
        // A finished search stands still.
        CoutCapture quiet;
        search.step();
        EXPECT_EQ(quiet.str(), "");
        EXPECT_EQ(search.cycles_taken, int(c.picks.size()));
    }
}

TEST(PathSearchRun, DijkstraComparesOnlyTheIntegerPartOfTheCost) {
    // Tile size 0.5: once g 1.0 and g 1.5 are both open they are equals, and the lower index
    // (tile 3, g 1.5) is picked before tile 7 (g 1.0).
    TileBoard board;
    buildMapBoard(board, {"......", "......"}, 0.5f, SearchStyle::Gridroute);
    PathSearch search(SearchStyle::Gridroute);
    search.method = Dijkstra;
    search.init(board, 0, 11);
    search.restartAt(0);
    SearchRun run = runToEnd(search, 5);
    EXPECT_EQ(run.picks, (std::vector<int>{0, 1, 6, 2, 3}));
    EXPECT_EQ(board.tiles[3].g, 1.5f);
    EXPECT_EQ(board.tiles[7].g, 1.0f);
    EXPECT_TRUE(board.tiles[7].open);
}

TEST(PathSearchRun, StartEqualToGoalIsAOneTilePath) {
    for (SearchStyle style : {SearchStyle::Gridroute, SearchStyle::Tilewalk}) {
        TileBoard board;
        buildMapBoard(board, {"...", "..."}, 1.0f, style);
        PathSearch search(style);
        search.init(board, 4, 4);
        if (style == SearchStyle::Gridroute) {
            search.restartAt(4);
        }
        CoutCapture out;
        search.step();
        EXPECT_EQ(out.str(), style == SearchStyle::Gridroute
                                 ? "total tiles covered on path: 1\ncycles_taken: 1\n"
                                 : "cycles_taken: 1\n");
        EXPECT_FALSE(search.running);
        EXPECT_TRUE(hasColour(board.tiles[4], kGoalColour));
    }
}

TEST(PathSearchRun, ExpansionsPerStep) {
    // 2 x 2 board, start 0, goal 1.
    TileBoard board;
    buildMapBoard(board, {"..", ".."}, 1.0f, SearchStyle::Gridroute);
    PathSearch search(SearchStyle::Gridroute);
    search.method = BreadthFirst;
    search.init(board, 0, 1);

    // None: the search stands still while each step still counts.
    search.stepsPerFrame = 0;
    search.restartAt(0);
    for (int n = 0; n < 3; ++n) search.step();
    EXPECT_EQ(search.cycles_taken, 3);
    EXPECT_TRUE(search.running);
    EXPECT_TRUE(board.tiles[0].open);
    EXPECT_FALSE(board.tiles[1].open);

    // Three, but the goal is picked on the second: no third expansion, one cycle.
    search.stepsPerFrame = 3;
    search.restartAt(0);
    CoutCapture out;
    search.step();
    EXPECT_EQ(out.str(), "total tiles covered on path: 2\ncycles_taken: 1\n");
    EXPECT_EQ(search.cycles_taken, 1);
    EXPECT_FALSE(search.running);
    EXPECT_TRUE(board.tiles[2].open);   // opened by the start, never expanded
    EXPECT_FALSE(board.tiles[2].closed);
    EXPECT_FALSE(board.tiles[3].open);
}

TEST(PathSearchRun, GridrouteGoalShowsOpenColourUntilTheNextStep) {
    TileBoard board;
    buildMapBoard(board, {"...", "..."}, 1.0f, SearchStyle::Gridroute);
    PathSearch search(SearchStyle::Gridroute);
    search.init(board, 0, 1);
    search.stepsPerFrame = 1;
    search.restartAt(0);
    search.step();
    EXPECT_TRUE(hasColour(board.tiles[1], kGridrouteOpenColour));
    EXPECT_TRUE(hasColour(board.tiles[0], kGridrouteStartColour));
    CoutCapture quiet;
    search.stepsPerFrame = 0;
    search.step();
    EXPECT_TRUE(hasColour(board.tiles[1], kGoalColour));
}

TEST(PathSearchRun, RelaxTakesTheLatestParentWhateverItCosts) {
    TileBoard board;
    buildMapBoard(board, {"...", "..."}, 0.5f, SearchStyle::Gridroute);
    PathSearch search(SearchStyle::Gridroute);
    search.method = Dijkstra;
    search.init(board, 0, 5);
    board.tiles[0].g = 0.0f;
    board.tiles[2].g = 7.0f;
    search.relax(0, 1);
    EXPECT_EQ(board.tiles[1].parent, 0);
    EXPECT_EQ(board.tiles[1].f, 0.5f);
    EXPECT_EQ(search.pickOpen(), search.pickOpenScan());
    search.relax(2, 1);
    EXPECT_EQ(board.tiles[1].parent, 2);
    EXPECT_EQ(board.tiles[1].g, 7.5f);
    EXPECT_EQ(board.tiles[1].f, 7.5f);
    EXPECT_TRUE(board.tiles[1].open);
    EXPECT_TRUE(hasColour(board.tiles[1], kGridrouteOpenColour));
    EXPECT_EQ(search.pickOpen(), search.pickOpenScan());
    // Closed and blocked tiles are left alone.
    board.tiles[3].blocked = true;
    search.relax(0, 3);
    search.relax(1, 0);
    EXPECT_FALSE(board.tiles[3].open);
    EXPECT_EQ(board.tiles[0].parent, -1);
}

struct EstimateCase {
    const char* name;
    SearchStyle style;
    SearchMethod method;
    int start, goal, tile;
    float h;
};

TEST(PathSearchCosts, EstimateByStyleAndMethod) {
    // 8 x 8 board at tile size 0.25: tile (c, r) has index 8r + c.
    const EstimateCase cases[] = {
        {"breadth first", SearchStyle::Gridroute, BreadthFirst, 0, 63, 9, 0.0f},
        {"dijkstra", SearchStyle::Gridroute, Dijkstra, 0, 63, 9, 0.0f},
        // 0.75 along x and -0.5 along z both truncate to 0.
        {"manhattan under one", SearchStyle::Gridroute, AStarManhattan, 0, 2 * 8 + 1, 0 * 8 + 4, 0.0f},
        // 1.25 and -1.5 truncate to 1 and -1.
        {"manhattan", SearchStyle::Gridroute, AStarManhattan, 0, 6 * 8 + 0, 0 * 8 + 5, 2.0f},
        // Start (0, 0), goal (4, 0): tile (4, 2) lies 0.5 off the line, cross = 1 x 0.5.
        {"breaking ties", SearchStyle::Gridroute, AStarBreakingTies, 0, 4, 2 * 8 + 4, (0.5f + 0.005f) * 4.0f},
        {"breaking ties on the line", SearchStyle::Gridroute, AStarBreakingTies, 0, 4, 1, 0.75f * 4.0f},
        {"tilewalk", SearchStyle::Tilewalk, BreadthFirst, 0, 4, 2 * 8 + 4, 0.5f + 0.05f},
    };
    for (const EstimateCase& c : cases) {
        SCOPED_TRACE(c.name);
        TileBoard board;
        buildMapBoard(board, std::vector<std::string>(8, "........"), 0.25f, c.style);
        PathSearch search(c.style);
        search.method = c.method;
        search.init(board, c.start, c.goal);
        EXPECT_NEAR(search.estimate(c.tile), c.h, 2e-5f);
    }
}

struct NoPathCase {
    const char* name;
    SearchStyle style;
    std::vector<std::string> map;
    int start, goal;
};

TEST(PathSearchRun, StopsWithOneLineWhenNoPathExists) {
    const NoPathCase cases[] = {
        {"walled off", SearchStyle::Gridroute, {"..#..", "..#..", "..#.."}, 0, 4},
        {"goal blocked", SearchStyle::Gridroute, {"....#", ".....", "....."}, 0, 4},
        {"walled off, tilewalk", SearchStyle::Tilewalk, {"..#..", "..#..", "..#.."}, 0, 4},
        {"goal blocked, tilewalk", SearchStyle::Tilewalk, {"....#", ".....", "....."}, 0, 4},
        {"goal off the board", SearchStyle::Gridroute, {".....", ".....", "....."}, 0, 15},
        {"start off the board", SearchStyle::Tilewalk, {".....", ".....", "....."}, 11111, 4},
        {"start below the board", SearchStyle::Gridroute, {".....", ".....", "....."}, -1, 4},
    };
    for (const NoPathCase& c : cases) {
        SCOPED_TRACE(c.name);
        TileBoard board;
        buildMapBoard(board, c.map, 1.0f, c.style);
        PathSearch search(c.style);
        search.init(board, c.start, c.goal);
        if (c.style == SearchStyle::Gridroute) search.restartAt(c.start);
        SearchRun run = runToEnd(search);
        EXPECT_EQ(run.out, std::string(kNoPathMessage) + "\n");
        EXPECT_FALSE(search.running);
        EXPECT_EQ(search.cycles_taken, int(run.picks.size()) + 1);
        if (board.isTile(c.start)) {
            EXPECT_TRUE(hasColour(board.tiles[c.start], c.style == SearchStyle::Gridroute
                                                            ? kGridrouteStartColour
                                                            : kTilewalkStartColour));
        }
        if (board.isTile(c.goal)) {
            EXPECT_TRUE(hasColour(board.tiles[c.goal], kGoalColour));
        }
        CoutCapture quiet;
        search.step();
        EXPECT_EQ(quiet.str(), "");
    }
}

TEST(PathSearchRun, IndicesOutsideTheBoardAreNeverWrittenThrough) {
    TileBoard board;
    buildMapBoard(board, {"..", ".."}, 1.0f, SearchStyle::Gridroute);
    PathSearch search(SearchStyle::Gridroute);
    PathSearch unbound(SearchStyle::Gridroute);
    CoutCapture quiet;
    unbound.step();
    unbound.restartAt(3);
    unbound.setGoal(3);
    EXPECT_EQ(unbound.pickOpen(), -1);
    search.init(board, 44, 11111);
    for (int tile : {-1, 4, 1000}) {
        search.setGoal(tile);
        search.restartAt(tile);
        search.cursor = tile;
        KeyState keys;
        keys.press(100);
        keys.press(103);
        search.keyRepeatTimer = 2.0f;
        search.applyKeys(keys);
        EXPECT_EQ(search.cursor, tile);
        search.step();
        EXPECT_FALSE(search.running);
    }
}

TEST(PathSearchRun, ABlockedStartLeavesNothingOpenForTheNextSearch) {
    // Tile 0 is blocked; the cursor may start there, so a search can start there too.
    TileBoard board;
    buildMapBoard(board, {"#..", "..."}, 1.0f, SearchStyle::Gridroute);
    PathSearch search(SearchStyle::Gridroute);
    search.method = BreadthFirst;
    search.init(board, 0, 2);
    search.restartAt(0);
    SearchRun first = runToEnd(search);
    EXPECT_EQ(pathFrom(board, 2), (std::vector<int>{2, 1, 0}));
    search.restartAt(5);
    SearchRun second = runToEnd(search);
    EXPECT_EQ(second.picks.front(), 5);
    EXPECT_EQ(pathFrom(board, 2), (std::vector<int>{2, 5}));
    EXPECT_TRUE(hasColour(board.tiles[0], kBlockedColour));
    EXPECT_FALSE(board.tiles[0].open);
}

}  // namespace
