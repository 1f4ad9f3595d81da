// mazegen and searchcompare run as processes, on small mazes.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "assets/obj_loader.h"
#include "pathsearch/path_search.h"
#include "pathsearch/tile_board.h"
#include "tools/mazekit/obj_write.h"
#include "tools/mazekit/wall_boxes.h"
#include "tools/searchkit/search_runs.h"

namespace {

const std::string runDir = VIEWERS_RUN_DIR;

struct Outcome {
    int status = -1;
    std::string out;  // standard output and standard error together
};

Outcome run(const std::string& program, const std::string& args) {
    Outcome o;
    std::string command = "'" + program + "' " + args + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return o;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) o.out.append(buffer, n);
    int status = pclose(pipe);
    o.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return o;
}

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class ToolsTest : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tools-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }
    std::string dir;
};

// One line of searchcompare's table.
struct Row {
    std::string method;
    std::string path;  // a number or "no path"
    int expansions = -1;
    int frames = -1;
};

std::vector<Row> tableOf(const std::string& out) {
    std::vector<Row> rows;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        for (const char* label : {"Breadth first", "Dijkstra", "A* Manhattan", "A* Breaking Ties"}) {
            std::string l = label;
            if (line.compare(0, l.size(), l) != 0 || line.size() <= l.size() || line[l.size()] != ' ') continue;
            Row row;
            row.method = l;
            std::istringstream rest(line.substr(l.size()));
            std::string first;
            rest >> first;
            if (first == "no") {
                rest >> first;
                row.path = "no path";
            } else {
                row.path = first;
            }
            rest >> row.expansions >> row.frames;
            rows.push_back(row);
        }
    }
    return rows;
}

}  // namespace

TEST_F(ToolsTest, HelpAndWrongOptions) {
    Outcome help = run(MAZEGEN_PATH, "--help");
    EXPECT_EQ(help.status, 0);
    for (const char* option : {"--cells", "--seed", "--corridor", "--wall-height", "--loops", "--tilewalk", "--tile-size"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    help = run(SEARCHCOMPARE_PATH, "--help");
    EXPECT_EQ(help.status, 0);
    for (const char* option : {"--tile-size", "--start", "--goal", "--steps-per-frame"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;

    struct Case {
        const char* program;
        std::string args;
        int status;
        const char* message;
    } cases[] = {
        {MAZEGEN_PATH, "", 2, "no output file"},
        {MAZEGEN_PATH, "--cells 0 " + dir + "/a.obj", 2, "--cells"},
        {MAZEGEN_PATH, "--cells 3x " + dir + "/a.obj", 2, "--cells"},
        {MAZEGEN_PATH, "--corridor -1 " + dir + "/a.obj", 2, "--corridor"},
        {MAZEGEN_PATH, "--seed", 2, "--seed"},
        {MAZEGEN_PATH, "--colour red " + dir + "/a.obj", 2, "unknown option --colour"},
        {MAZEGEN_PATH, dir + "/a.obj " + dir + "/b.obj", 2, "more than one"},
        {MAZEGEN_PATH, dir + "/missing/a.obj", 1, "cannot write"},
        {SEARCHCOMPARE_PATH, "", 2, "no maze file"},
        {SEARCHCOMPARE_PATH, "--steps-per-frame 0 " + runDir + "/maze2.obj", 2, "--steps-per-frame"},
        {SEARCHCOMPARE_PATH, "--tile-size x " + runDir + "/maze2.obj", 2, "--tile-size"},
        {SEARCHCOMPARE_PATH, dir + "/none.obj", 1, "cannot open"},
        {SEARCHCOMPARE_PATH, "--goal 1444 " + runDir + "/maze2.obj", 1, "not on the board"},
        // A negative tile counts from the end of the board (-1 is the last tile); one past the first is off it.
        {SEARCHCOMPARE_PATH, "--start=-1445 " + runDir + "/maze2.obj", 1, "not on the board"},
        // maze2 at 0.5: the south wall covers row 0 from column 6 on.
        {SEARCHCOMPARE_PATH, "--start 6 " + runDir + "/maze2.obj", 1, "is blocked"},
    };
    for (const Case& c : cases) {
        Outcome o = run(c.program, c.args);
        EXPECT_EQ(o.status, c.status) << c.program << " " << c.args << "\n" << o.out;
        EXPECT_NE(o.out.find(c.message), std::string::npos) << c.program << " " << c.args << "\n" << o.out;
    }
}

// A small maze: the file holds what was asked for, the facts match the project's own board
// over it, and the seed alone decides the maze.
TEST_F(ToolsTest, MazegenWritesTheMazeAndItsBoardFacts) {
    const std::string file = dir + "/small.obj";
    Outcome o = run(MAZEGEN_PATH, "--cells 4x3 --corridor 1.3 --seed 5 --wall-height 1.25 --tile-size 0.5 " + file);
    ASSERT_EQ(o.status, 0) << o.out;

    objLoader loader;
    ObjModel model;
    std::ostringstream quiet;
    std::streambuf* old = std::cout.rdbuf(quiet.rdbuf());
    ASSERT_TRUE(loader.import(model, file.c_str()));
    TileBoard board;
    board.build(model, 0.5f, SearchStyle::Tilewalk);
    std::cout.rdbuf(old);
    struct Release {
        ObjModel& m;
        ~Release() { releaseModel(m); }
    } release{model};
    float minX = 1e9f, maxX = -1e9f, minZ = 1e9f, maxZ = -1e9f, maxY = 0;
    for (int v = 0; v < model.vertexArrayLength; ++v) {
        minX = std::min(minX, model.vertices[v].x), maxX = std::max(maxX, model.vertices[v].x);
        minZ = std::min(minZ, model.vertices[v].z), maxZ = std::max(maxZ, model.vertices[v].z);
        maxY = std::max(maxY, model.vertices[v].y);
    }
    // Cells of 1.3 + 0.2, walls 0.2 thick: 4 x 1.5 + 0.2 by 3 x 1.5 + 0.2.
    EXPECT_FLOAT_EQ(maxX - minX, 6.2f);
    EXPECT_FLOAT_EQ(maxZ - minZ, 4.7f);
    EXPECT_FLOAT_EQ(maxY, 1.25f);
    EXPECT_NEAR(minX + maxX, 0.0f, 1e-5f);

    int free = 0;
    for (int t = 0; t < board.tileCount(); ++t) free += board.tiles[t].blocked ? 0 : 1;
    std::ostringstream facts;
    facts << "board at tile size 0.5: " << board.lastColumn + 1 << " x " << board.lastRow + 1 << " = "
          << board.tileCount() << " tiles, " << free << " free\n";
    EXPECT_NE(o.out.find(facts.str()), std::string::npos) << o.out << "expected: " << facts.str();
    EXPECT_NE(o.out.find("free tiles connected: yes\n"), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("tile 11111: off the board\n"), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("usable as maze1.obj (tile size 0.3): no\n"), std::string::npos) << o.out;

    ASSERT_EQ(run(MAZEGEN_PATH, "--cells 4x3 --corridor 1.3 --seed 5 --wall-height 1.25 " + dir + "/again.obj").status, 0);
    ASSERT_EQ(run(MAZEGEN_PATH, "--cells 4x3 --corridor 1.3 --seed 6 --wall-height 1.25 " + dir + "/other.obj").status, 0);
    EXPECT_EQ(fileText(file), fileText(dir + "/again.obj"));
    EXPECT_NE(fileText(file), fileText(dir + "/other.obj"));
}

// The shipped maze1 is mazegen's maze with these options: the two files differ only in their
// title line, and mazegen finds it usable for tilewalk.
TEST_F(ToolsTest, MazegenMakesMaze1) {
    Outcome o = run(MAZEGEN_PATH, "--cells 16 --corridor 1.8 --seed 1 --tilewalk " + dir + "/maze1.obj");
    ASSERT_EQ(o.status, 0) << o.out;
    EXPECT_NE(o.out.find("tile 44: free; tile 11111: free\n"), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("tiles 44 and 11111 connected: yes"), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("usable as maze1.obj (tile size 0.3): yes\n"), std::string::npos) << o.out;
    std::string made = fileText(dir + "/maze1.obj"), shipped = fileText(runDir + "/maze1.obj");
    EXPECT_EQ(made.substr(made.find('\n')), shipped.substr(shipped.find('\n')));
}

// searchcompare's numbers are those of the engine driven as gridroute drives it: goal, restart,
// then steps until it stops, with the console lines gridroute prints.
TEST_F(ToolsTest, SearchcompareMatchesTheEngineRunAsGridrouteRunsIt) {
    const std::string file = dir + "/maze.obj";
    ASSERT_EQ(run(MAZEGEN_PATH, "--cells 5x4 --corridor 1.6 --seed 3 --loops 3 " + file).status, 0);

    std::ostringstream console;
    std::streambuf* old = std::cout.rdbuf(console.rdbuf());
    objLoader loader;
    ObjModel model;
    loader.import(model, file.c_str());
    TileBoard board;
    board.build(model, 0.25f, SearchStyle::Gridroute);
    releaseModel(model);
    int first = -1, last = -1;
    for (int t = 0; t < board.tileCount(); ++t) {
        if (!board.tiles[t].blocked) {
            if (first < 0) first = t;
            last = t;
        }
    }
    std::vector<std::string> expected;
    for (SearchMethod m : {BreadthFirst, Dijkstra, AStarManhattan, AStarBreakingTies}) {
        for (int stepsPerFrame : {2, 1}) {
            PathSearch search(SearchStyle::Gridroute);
            search.init(board, 0, 0);
            search.method = m;
            search.stepsPerFrame = stepsPerFrame;
            console.str("");
            search.setGoal(last);
            search.restartAt(first);
            while (search.running) search.step();
            expected.push_back(console.str());
        }
    }
    std::cout.rdbuf(old);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, board.tileCount() - 1);

    Outcome two = run(SEARCHCOMPARE_PATH, "--tile-size 0.25 " + file);
    Outcome one = run(SEARCHCOMPARE_PATH, "--tile-size=0.25 --steps-per-frame 1 " + file);
    ASSERT_EQ(two.status, 0) << two.out;
    ASSERT_EQ(one.status, 0) << one.out;
    EXPECT_NE(two.out.find("start tile 0 (column 0, row 0), goal tile " + std::to_string(last)), std::string::npos)
        << two.out;
    std::vector<Row> rowsTwo = tableOf(two.out), rowsOne = tableOf(one.out);
    ASSERT_EQ(rowsTwo.size(), 4u) << two.out;
    ASSERT_EQ(rowsOne.size(), 4u) << one.out;
    for (int k = 0; k < 4; ++k) {
        for (int s = 0; s < 2; ++s) {
            const Row& row = s == 0 ? rowsTwo[k] : rowsOne[k];
            std::string lines = "total tiles covered on path: " + row.path + "\ncycles_taken: " +
                                std::to_string(row.frames) + "\n";
            EXPECT_EQ(lines, expected[k * 2 + s]) << row.method << " steps " << 2 - s;
        }
        // One expansion a frame: a frame per expansion; two a frame: the last frame may stop
        // after one.
        EXPECT_EQ(rowsOne[k].frames, rowsOne[k].expansions) << rowsOne[k].method;
        EXPECT_EQ(rowsTwo[k].frames, (rowsTwo[k].expansions + 1) / 2) << rowsTwo[k].method;
    }
}

TEST_F(ToolsTest, SearchcompareStartAtGoalAndGoalWalledOff) {
    // Start and goal on one tile: a path of that tile, found in the first frame.
    Outcome same = run(SEARCHCOMPARE_PATH, "--start 5 --goal 5 " + runDir + "/maze2.obj");
    ASSERT_EQ(same.status, 0) << same.out;
    std::vector<Row> rows = tableOf(same.out);
    ASSERT_EQ(rows.size(), 4u) << same.out;
    for (const Row& row : rows) {
        EXPECT_EQ(row.path, "1") << row.method;
        EXPECT_EQ(row.expansions, 1) << row.method;
        EXPECT_EQ(row.frames, 1) << row.method;
    }

    // One closed cell 4 wide: its inside cannot be reached from the board around it.
    MazeGrid cell(1, 1);
    WallStyle style;
    style.cellSize = 4.0;
    ASSERT_TRUE(writeTextFile(dir + "/closed.obj", objText(wallBoxes(cell, style), "closed cell")));
    // Tile size 0.5, extent -2.1 .. 2.1: 10 columns; the tile at column 4, row 4 is inside.
    Outcome closed = run(SEARCHCOMPARE_PATH, "--goal 44 " + dir + "/closed.obj");
    ASSERT_EQ(closed.status, 0) << closed.out;
    EXPECT_NE(closed.out.find("shortest way: none"), std::string::npos) << closed.out;
    rows = tableOf(closed.out);
    ASSERT_EQ(rows.size(), 4u) << closed.out;
    for (const Row& row : rows) {
        EXPECT_EQ(row.path, "no path") << row.method;
        EXPECT_GT(row.expansions, 10) << row.method;  // everything outside was searched
    }
}
