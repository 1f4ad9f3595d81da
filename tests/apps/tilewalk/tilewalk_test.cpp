// tilewalk as a real process on the test display, with a small fixture maze: the start-up
// transcript, the search running to the goal with the step count the engine itself computes, the
// board seen from above, and a board too small for the goal tile.
#include <gtest/gtest.h>

#include <unistd.h>

#include <string>
#include <vector>

#include "assets/obj_loader.h"
#include "assets/obj_model.h"
#include "pathsearch/path_search.h"
#include "pathsearch/tile_board.h"
#include "tests/apps/lookaround/gl_call_trace.h"
#include "tests/support/program_run.h"

namespace {

const char* const windowTitle = "^camera class.s $";

// A wall across the middle, ending at x = 2, and two posts that stretch the extent to +-15.8:
// at tile size 0.3 the board has 107 x 107 = 11449 tiles, so both tile 44 (bottom row) and tile
// 11111 (row 103, beyond the wall) exist, and the search has to go round the wall's end.
const char* const wallMaze =
    "# wall and corner posts\n"
    "v -15.8 0 0\nv 2 0 0\nv 2 1 0\nv -15.8 1 0\n"
    "v -15.8 0 -15.8\nv -15.7 0 -15.8\nv -15.8 1 -15.8\n"
    "v 15.8 0 15.8\nv 15.7 0 15.8\nv 15.8 1 15.8\n"
    "vt 0 0\nvn 0 0 1\n"
    "f 1/1/1 2/1/1 3/1/1\nf 1/1/1 3/1/1 4/1/1\nf 5/1/1 6/1/1 7/1/1\nf 8/1/1 9/1/1 10/1/1\n";

// A maze of 4 x 4 units: 225 tiles, far too few for the goal tile.
const char* const smallMaze =
    "v -2 0 -2\nv 2 0 2\nv 2 1 2\nvt 0 0\nvn 0 0 1\nf 1/1/1 2/1/1 3/1/1\n";

// A 2 x 2 24-bit TGA, all pixels one light colour.
std::string lightTga() {
    std::string header(18, '\0');
    header[2] = 2;
    header[12] = 2;
    header[14] = 2;
    header[16] = 24;
    std::string pixels;
    for (int i = 0; i < 4; ++i) pixels += "\xc8\xb4\xa0";
    return header + pixels;
}

// What the project's own engine makes of a maze file: tile count and the step count at the goal.
struct EngineResult {
    int tiles = 0;
    int cycles = 0;
};

// Static like the program's own objects: the model's arrays stay reachable until the process ends.
objLoader engineLoader;
ObjModel engineModel;
TileBoard engineBoard;

EngineResult runEngine(const std::string& mazePath) {
    objLoader& loader = engineLoader;
    ObjModel& model = engineModel;
    TileBoard& board = engineBoard;
    loader.import(model, mazePath.c_str());
    board.build(model, 0.3f, SearchStyle::Tilewalk);
    EngineResult result;
    result.tiles = board.tileCount();
    PathSearch search(SearchStyle::Tilewalk);
    search.init(board, 44, 11111);
    for (int i = 0; i < 1000000 && search.running; ++i) search.step();
    result.cycles = search.cycles_taken;
    return result;
}

bool near(const ScreenPixel& p, int r, int g, int b) {
    return std::abs(p.r - r) <= 6 && std::abs(p.g - g) <= 6 && std::abs(p.b - b) <= 6;
}

void startWith(ProgramRun& run, const char* maze) {
    if (maze != nullptr) run.addFile("maze1.obj", maze);
    run.addFile("file.tga", lightTga());
    ASSERT_TRUE(run.start());
    ASSERT_FALSE(run.findWindow(windowTitle).empty());
    ASSERT_TRUE(run.mouseMove(400, 400));
}

void expectEndQuitsWithStatusZero(ProgramRun& run) {
    ASSERT_TRUE(run.keyDown("End"));
    int status = -1;
    bool ended = run.waitExit(10.0, &status);
    // The X server keeps End down until it is released; a later run would see no new press.
    runCommand({"xdotool", "keyup", "End"}, 5.0);
    ASSERT_TRUE(ended);
    EXPECT_EQ(status, 0);
}

class TilewalkRun : public ::testing::Test {
protected:
    void SetUp() override {
        if (!displayAvailable()) {
            GTEST_SKIP() << "no X display";
        }
    }
};

TEST_F(TilewalkRun, SearchRunsToTheGoalOneStepPerFrame) {
    ProgramRun run("tilewalk");
    ASSERT_NO_FATAL_FAILURE(startWith(run, wallMaze));
    EngineResult expected = runEngine(run.workDir + "/maze1.obj");
    ASSERT_GT(expected.tiles, 11111);
    ASSERT_GT(expected.cycles, 100);

    std::string found;
    ASSERT_TRUE(run.waitForLine("cycles_taken: ", 120.0, &found));
    EXPECT_EQ(found, "cycles_taken: " + std::to_string(expected.cycles));

    // From above: free, blocked, opened and path tiles, the white start and the red goal.
    usleep(200 * 1000);
    ScreenImage shot = run.screenshot();
    ASSERT_FALSE(shot.empty());
    struct Colour {
        const char* name;
        int r, g, b;
        int atLeast;
    } colours[] = {
        {"free", 128, 128, 179, 100000},  // (0.5, 0.5, 0.7)
        {"blocked wall", 51, 51, 77, 1000},  // (0.2, 0.2, 0.3)
        {"opened", 0, 128, 179, 5000},  // (0, 0.5, 0.7)
        {"path", 191, 255, 0, 2000},  // (0.75, 1, 0)
        {"start", 255, 255, 255, 9},
        {"goal", 255, 0, 0, 9},
    };
    for (const Colour& c : colours) {
        int n = shot.count([&](const ScreenPixel& p) { return near(p, c.r, c.g, c.b); });
        EXPECT_GE(n, c.atLeast) << c.name;
    }

    // Once the goal is reached the board stands still.
    usleep(300 * 1000);
    EXPECT_EQ(run.screenshot().differingPixels(shot), 0);

    expectEndQuitsWithStatusZero(run);
    std::vector<std::string> lines = run.lines();
    std::vector<std::string> transcript = {
        "frames: 1",
        "faces: 4",
        "vertexs: 10",
        "UVs: 1",
        "normals: 1",
        "total faces:4",
        "grid size::" + std::to_string(expected.tiles),
        "loading file.tga   complete",
        "initialising lighting lighting",
        "cycles_taken: " + std::to_string(expected.cycles),
    };
    EXPECT_EQ(lines, transcript);
}

// Without a board that holds tile 11111 there is no search: one line says so, and the viewer
// keeps running with a working camera.
TEST_F(TilewalkRun, BoardTooSmallForTheGoal) {
    struct Case {
        const char* name;
        const char* maze;  // null: no maze file
        std::vector<std::string> transcript;
    } cases[] = {
        {"small maze", smallMaze,
         {"frames: 1", "faces: 1", "vertexs: 3", "UVs: 1", "normals: 1", "total faces:1",
          "grid size::225", "loading file.tga   complete", "initialising lighting lighting",
          "no search: the board has 225 tiles, too few for start tile 44 and goal tile 11111"}},
        {"missing maze", nullptr,
         {"error objLoader.import() no file of that name!", "grid size::4",
          "loading file.tga   complete", "initialising lighting lighting",
          "no search: the board has 4 tiles, too few for start tile 44 and goal tile 11111"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramRun run("tilewalk");
        ASSERT_NO_FATAL_FAILURE(startWith(run, c.maze));
        ASSERT_TRUE(run.waitForLine("no search: ", 10.0));
        usleep(400 * 1000);
        ScreenImage before = run.screenshot();
        ASSERT_FALSE(before.empty());
        ASSERT_TRUE(run.running());

        // Nothing moves by itself; strafing shifts the board.
        usleep(200 * 1000);
        EXPECT_EQ(run.screenshot().differingPixels(before), 0);
        ASSERT_TRUE(run.holdKey("Left", 0.2));
        usleep(200 * 1000);
        EXPECT_GT(run.screenshot().differingPixels(before), 0);

        expectEndQuitsWithStatusZero(run);
        EXPECT_EQ(run.lines(), c.transcript);
    }
}

// The GL calls of start-up and of each display pass, in order, as the driver received them. The
// small maze keeps the board's calls few; the order does not depend on the board.
TEST(TilewalkCalls, StartUpAndDisplayPassOrder) {
    if (!displayAvailable() || !apitraceAvailable()) {
        GTEST_SKIP() << "needs an X display and apitrace";
    }
    std::vector<std::vector<std::string>> frames = splitAtSwaps(
        traceGlCalls("tilewalk", {{"maze1.obj", smallMaze}, {"file.tga", lightTga()}}, 0.5));
    ASSERT_GE(frames.size(), 3u);

    const std::string fromStartPose = "glTranslated(x = -0, y = -52.5, z = -0.1";
    // Start-up: load and upload the texture, material, light with its position under the
    // identity, projection, then the first pass. Other calls may come between these.
    const std::vector<std::string> startUp = {
        "glPixelStorei(pname = GL_UNPACK_ALIGNMENT, param = 1)",
        "glTexImage2D(target = GL_TEXTURE_2D",
        "glMaterialfv(face = GL_FRONT_AND_BACK, pname = GL_DIFFUSE, params = {1, 0.81, 0.7, 1})",
        "glLightfv(light = GL_LIGHT0, pname = GL_AMBIENT, params = {0.4, 0.4, 0.4, 1})",
        "glLightfv(light = GL_LIGHT0, pname = GL_DIFFUSE, params = {0.6, 0.6, 0.6, 1})",
        "glEnable(cap = GL_LIGHT0)",
        "glLightfv(light = GL_LIGHT0, pname = GL_POSITION, params = {4, 3, 1, 0})",
        "glEnable(cap = GL_DEPTH_TEST)",
        "glClearColor(red = 0, green = 0, blue = 0, alpha = 0)",
        "glMatrixMode(mode = GL_PROJECTION)",
        "glMultMatrixd(m = {2.414213562373095, 0, 0, 0, 0, 2.414213562373095, 0, 0, 0, 0, "
        "-1.006688963210702, -1, 0, 0, -1.003344481605351, 0})",
        "glMatrixMode(mode = GL_MODELVIEW)",
        "glLoadIdentity()",
        "glClear(mask = GL_DEPTH_BUFFER_BIT | GL_COLOR_BUFFER_BIT)",
    };
    {
        SCOPED_TRACE("start-up");
        size_t next = 0;
        for (const std::string& call : frames[0]) {
            if (next < startUp.size() && startsWith(call, startUp[next])) ++next;
        }
        EXPECT_EQ(next, startUp.size()) << "missing or out of order: " << startUp[std::min(next, startUp.size() - 1)];
    }

    // Each pass, reduced to the calls that fix its order, repeats collapsed (the idle callback's
    // camera updates, the board's own switching of lighting): the light position under the
    // drawn frame's view, the camera update, then clear, view, the model between push and pop,
    // the unlit board (corner points, tiles) and lighting back on.
    const std::vector<std::string> pass = {
        "glLightfv(light = GL_LIGHT0, pname = GL_POSITION, params = {4, 3, 1, 0})",
        fromStartPose,
        "glClear(mask = GL_DEPTH_BUFFER_BIT | GL_COLOR_BUFFER_BIT)",
        "glLoadIdentity()",
        fromStartPose,
        "glPushMatrix()",
        "glBegin(mode = GL_TRIANGLES)",
        "glPopMatrix()",
        "glDisable(cap = GL_LIGHTING)",
        "glBegin(mode = GL_POINTS)",
        "glBegin(mode = GL_QUADS)",
        "glEnable(cap = GL_LIGHTING)",
    };
    const std::vector<std::string> watched = {
        "glLightfv(light = GL_LIGHT0, pname = GL_POSITION", "glTranslated(", "glClear(",
        "glLoadIdentity(", "glPushMatrix(", "glPopMatrix(", "glBegin(",
        "glDisable(cap = GL_LIGHTING)", "glEnable(cap = GL_LIGHTING)"};
    for (size_t f = 1; f < frames.size(); ++f) {
        SCOPED_TRACE("frame " + std::to_string(f));
        std::vector<std::string> reduced;
        for (const std::string& call : frames[f]) {
            bool keep = false;
            for (const std::string& w : watched) keep = keep || startsWith(call, w);
            if (keep && (reduced.empty() || reduced.back() != call)) reduced.push_back(call);
        }
        ASSERT_EQ(reduced.size(), pass.size());
        for (size_t i = 0; i < pass.size(); ++i) {
            EXPECT_TRUE(startsWith(reduced[i], pass[i])) << i << ": " << reduced[i];
        }
    }
}

}  // namespace
