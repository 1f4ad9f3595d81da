// The search controls' keys: cursor moves and their repeat timer, goal and start, speed,
// method labels. The cursor marker is checked with the board drawing on a GL context.
#include "pathsearch/path_search.h"
#include "tests/pathsearch/board_fixtures.h"

#include <gtest/gtest.h>

namespace {

constexpr int kLeft = 100, kUp = 101, kRight = 102, kDown = 103;

KeyState held(std::initializer_list<int> codes) {
    KeyState keys;
    for (int c : codes) keys.press(c);
    return keys;
}

// 4 x 3 board; tiles 0 and 6 are blocked.
//   0# 1  2  3
//   4  5  6# 7
//   8  9  10 11
const std::vector<std::string> kMap = {"#...", "..#.", "...."};

struct ArrowCase {
    const char* name;
    int cursor;
    float timer;
    std::initializer_list<int> keys;
    int frames;
    int expectedCursor;
    float expectedTimer;
};

TEST(SearchControls, ArrowKeysMoveTheCursorAtTheRepeatRate) {
    const ArrowCase cases[] = {
        {"held from the start: not yet on frame two", 1, 0.2f, {kRight}, 2, 1, 0.8f},
        {"held from the start: acts on frame three", 1, 0.2f, {kRight}, 3, 2, 0.0f},
        {"then every fourth frame", 1, 0.2f, {kRight}, 7, 3, 0.0f},
        {"right", 8, 1.0f, {kRight}, 1, 9, 0.0f},
        {"left", 9, 1.0f, {kLeft}, 1, 8, 0.0f},
        {"up", 5, 1.0f, {kUp}, 1, 1, 0.0f},
        {"down", 5, 1.0f, {kDown}, 1, 9, 0.0f},
        {"left off the board", 4, 1.0f, {kLeft}, 1, 4, 0.0f},
        {"right off the board", 7, 1.0f, {kRight}, 1, 7, 0.0f},
        {"up off the board", 2, 1.0f, {kUp}, 1, 2, 0.0f},
        {"down off the board", 9, 1.0f, {kDown}, 1, 9, 0.0f},
        {"right onto a blocked tile", 5, 1.0f, {kRight}, 1, 5, 0.0f},
        {"up onto a blocked tile", 10, 1.0f, {kUp}, 1, 10, 0.0f},
        {"left onto blocked tile 0", 1, 1.0f, {kLeft}, 1, 1, 0.0f},
        {"off blocked tile 0", 0, 1.0f, {kRight}, 1, 1, 0.0f},
        {"left and right: left only", 9, 1.0f, {kLeft, kRight}, 1, 8, 0.0f},
        {"up and down: up only", 5, 1.0f, {kDown, kUp}, 1, 1, 0.0f},
        {"blocked left still uses up the frame", 4, 1.0f, {kLeft, kDown}, 1, 4, 0.0f},
        {"no key: the timer keeps growing", 5, 0.2f, {}, 3, 5, 1.1f},
    };
    for (const ArrowCase& c : cases) {
        SCOPED_TRACE(c.name);
        TileBoard board;
        buildMapBoard(board, kMap, 1.0f, SearchStyle::Gridroute);
        PathSearch search(SearchStyle::Gridroute);
        search.init(board, 0, 0);
        search.cursor = c.cursor;
        search.keyRepeatTimer = c.timer;
        KeyState keys = held(c.keys);
        for (int n = 0; n < c.frames; ++n) search.applyKeys(keys);
        EXPECT_EQ(search.cursor, c.expectedCursor);
        EXPECT_NEAR(search.keyRepeatTimer, c.expectedTimer, 1e-6f);
    }
}

struct SpeedCase {
    const char* name;
    float speed;
    std::initializer_list<int> keys;
    int frames;
    float expectedSpeed;
    int expectedSteps;
};

TEST(SearchControls, SpeedKeys) {
    const SpeedCase cases[] = {
        {"one frame slower", 2.0f, {4}, 1, 1.995f, 1},
        {"33 frames faster", 2.0f, {3}, 33, 2.99f, 2},
        {"34 frames faster", 2.0f, {3}, 34, 3.02f, 3},
        {"both in one frame", 2.0f, {3, 4}, 1, 2.025f, 2},
        {"slower below one stands the search still", 1.0f, {4}, 1, 0.995f, 0},
        // The wrap comes after stepsPerFrame is taken.
        {"faster past 3000 wraps to 1", 2999.99f, {3}, 1, 1.0f, 3000},
        {"slower below 0 wraps to 1", 0.003f, {4}, 1, 1.0f, 0},
    };
    for (const SpeedCase& c : cases) {
        SCOPED_TRACE(c.name);
        TileBoard board;
        buildMapBoard(board, kMap, 1.0f, SearchStyle::Gridroute);
        PathSearch search(SearchStyle::Gridroute);
        search.init(board, 0, 0);
        search.speed = c.speed;
        KeyState keys = held(c.keys);
        for (int n = 0; n < c.frames; ++n) search.applyKeys(keys);
        EXPECT_NEAR(search.speed, c.expectedSpeed, 2e-4f);
        EXPECT_EQ(search.stepsPerFrame, c.expectedSteps);
    }
}

TEST(SearchControls, MethodKeysPrintTheirLabelEveryFrame) {
    struct Case {
        const char* name;
        std::initializer_list<int> keys;
        int frames;
        std::string out;
        SearchMethod method;
    } cases[] = {
        {"F5", {5}, 1, "Breadth first\n", BreadthFirst},
        {"F6", {6}, 1, "Dijkstra\n", Dijkstra},
        {"F7", {7}, 1, "A* Manhattan\n", AStarManhattan},
        {"F8", {8}, 1, "A* Breaking Ties\n", AStarBreakingTies},
        {"F5 for three frames", {5}, 3, "Breadth first\nBreadth first\nBreadth first\n", BreadthFirst},
        {"several: all labels, the last one sets", {7, 5}, 1, "Breadth first\nA* Manhattan\n", AStarManhattan},
        {"F12", {12}, 1, "got key\n", Dijkstra},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TileBoard board;
        buildMapBoard(board, kMap, 1.0f, SearchStyle::Gridroute);
        PathSearch search(SearchStyle::Gridroute);
        search.init(board, 0, 0);
        search.method = Dijkstra;
        CoutCapture out;
        KeyState keys = held(c.keys);
        for (int n = 0; n < c.frames; ++n) search.applyKeys(keys);
        EXPECT_EQ(out.str(), c.out);
        EXPECT_EQ(search.method, c.method);
    }
}

TEST(SearchControls, GoalAndStartKeys) {
    struct Case {
        const char* name;
        std::initializer_list<int> keys;
        int start, goal;
        bool running;
    } cases[] = {
        {"F2 sets the goal and stops", {2}, 1, 9, false},
        {"F1 starts from the cursor", {1}, 9, 11, true},
        {"F1 and F2: goal first, then start", {1, 2}, 9, 9, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TileBoard board;
        buildMapBoard(board, kMap, 1.0f, SearchStyle::Gridroute);
        PathSearch search(SearchStyle::Gridroute);
        search.init(board, 1, 11);
        search.restartAt(1);
        {
            CoutCapture quiet;
            for (int n = 0; n < 3; ++n) search.step();
        }
        auto openTiles = [&] {
            int n = 0;
            for (int i = 0; i < board.tileCount(); ++i) n += board.tiles[i].open && i != search.start;
            return n;
        };
        ASSERT_GT(openTiles(), 0);
        search.cursor = 9;
        search.applyKeys(held(c.keys));
        EXPECT_EQ(search.start, c.start);
        EXPECT_EQ(search.goal, c.goal);
        EXPECT_EQ(search.running, c.running);
        EXPECT_EQ(search.cycles_taken, c.running ? 0 : 3);
        // The earlier search's marks and colours are gone.
        EXPECT_EQ(openTiles(), 0);
        for (int i = 0; i < board.tileCount(); ++i) {
            bool blocked = i == 0 || i == 6;
            EXPECT_TRUE(hasColour(board.tiles[i], blocked ? kBlockedColour : kGridrouteFreeColour)) << i;
        }
    }
}

}  // namespace
