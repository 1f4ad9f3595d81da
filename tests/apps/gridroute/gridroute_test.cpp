// gridroute as a whole: the console dialogue, the start-up transcript, keyboard-driven searches
// checked against the search engine itself, the view keys and the mouse.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "assets/obj_loader.h"
#include "pathsearch/path_search.h"
#include "pathsearch/tile_board.h"
#include "tests/support/program_run.h"

namespace {

const double startTimeout = 30.0;
const char* const windowTitle = "^VoveZuradoz $";
const char* const lastStartLine = "initialising lighting lighting";

// A wall: a vertical quad from (x0, z0) to (x1, z1), y from 0 to 1, as two triangles.
struct Wall {
    float x0, z0, x1, z1;
};

// A maze file with every vertex before the first face (one frame), one texture coordinate and
// one normal: 2 faces and 4 vertices per wall.
std::string mazeObj(const std::vector<Wall>& walls) {
    std::ostringstream out;
    out << "# test maze\nvt 0 0\nvn 0 0 1\n";
    for (const Wall& w : walls) {
        out << "v " << w.x0 << " 0 " << w.z0 << "\n";
        out << "v " << w.x1 << " 0 " << w.z1 << "\n";
        out << "v " << w.x1 << " 1 " << w.z1 << "\n";
        out << "v " << w.x0 << " 1 " << w.z0 << "\n";
    }
    for (size_t i = 0; i < walls.size(); ++i) {
        size_t a = 4 * i + 1;
        out << "f " << a << "/1/1 " << a + 1 << "/1/1 " << a + 2 << "/1/1\n";
        out << "f " << a << "/1/1 " << a + 2 << "/1/1 " << a + 3 << "/1/1\n";
    }
    return out.str();
}

// maze<n>.obj of the tests: n walls, so 2n faces tell which file was loaded. Every one spans
// x and z up to 6 (and down to the origin), so its grid is the same: 196 tiles at 0.5.
std::string numberedMaze(int n) {
    std::vector<Wall> walls{{6.0f, 1.0f, 6.0f, 6.0f}};
    for (int i = 0; i < n - 1; ++i) {
        walls.push_back({1.0f + i, 1.0f, 1.0f + i, 6.0f});
    }
    return mazeObj(walls);
}

// A 2 x 2 uncompressed 24-bit TGA.
std::string smallTga() {
    std::string tga(18, '\0');
    tga[2] = 2;
    tga[12] = 2;
    tga[14] = 2;
    tga[16] = 24;
    const unsigned char pixels[12] = {40, 160, 200, 40, 160, 200, 40, 160, 200, 40, 160, 200};
    tga.append(reinterpret_cast<const char*>(pixels), sizeof pixels);
    return tga;
}

void addStandardFiles(ProgramRun& run) {
    for (int n = 2; n <= 6; ++n) {
        run.addFile("maze" + std::to_string(n) + ".obj", numberedMaze(n));
    }
    run.addFile("file.tga", smallTga());
}

// The number after prefix on the first line that starts with it; -1 when there is none.
long numberAfter(const std::vector<std::string>& lines, const std::string& prefix) {
    for (const std::string& line : lines) {
        if (line.compare(0, prefix.size(), prefix) == 0) {
            return std::strtol(line.c_str() + prefix.size(), nullptr, 10);
        }
    }
    return -1;
}

int countLines(const std::vector<std::string>& lines, const std::string& text) {
    int n = 0;
    for (const std::string& line : lines) {
        n += line == text ? 1 : 0;
    }
    return n;
}

// Lines that end with text: a message written right after a prompt shares the prompt's line.
int countLineEnds(const std::vector<std::string>& lines, const std::string& text) {
    int n = 0;
    for (const std::string& line : lines) {
        n += line.size() >= text.size() && line.compare(line.size() - text.size(), text.size(), text) == 0 ? 1 : 0;
    }
    return n;
}

bool isColour(const ScreenPixel& p, int r, int g, int b) { return p.r == r && p.g == g && p.b == b; }

class GridrouteRun : public ::testing::Test {
protected:
    std::unique_ptr<ProgramRun> run;

    void SetUp() override {
        if (!displayAvailable()) {
            GTEST_SKIP() << "no X display";
        }
        run = std::make_unique<ProgramRun>("gridroute");
    }

    // In a sanitizer build a report that did not end the program still fails the test.
    void TearDown() override {
        if (run) {
            run->stop();
            std::string errors = run->errorText();
            EXPECT_EQ(errors.find("Sanitizer"), std::string::npos) << errors;
            EXPECT_EQ(errors.find("runtime error:"), std::string::npos) << errors;
        }
    }

    // Starts the program with the given answers and waits until the start-up has finished.
    void startWith(const std::string& answers) {
        ASSERT_TRUE(run->start()) << "cannot start " << VIEWERS_RUN_DIR << "/gridroute";
        ASSERT_TRUE(run->writeInput(answers));
        ASSERT_TRUE(run->waitForLine(lastStartLine, startTimeout)) << run->text() << run->errorText();
    }

    void openWindow() {
        ASSERT_FALSE(run->findWindow(windowTitle).empty()) << run->errorText();
        run->mouseMove(400, 400);
    }

    // The window is still being drawn: each press of F12 is answered by the next display pass.
    void expectStillDrawing() {
        size_t before = run->lineCount();
        ASSERT_TRUE(run->holdKey("F12", 0.2));
        EXPECT_TRUE(run->waitForLine([](const std::string& l) { return l == "got key"; }, 10.0, nullptr, before))
            << run->text();
        EXPECT_TRUE(run->running());
    }

    // A picture once the frames have settled (the light follows the view one frame late).
    ScreenImage settledScreenshot() {
        usleep(300000);
        return run->screenshot();
    }
};

// --- the dialogue ---

struct DialogueCase {
    const char* name;
    const char* answers;
    int faces;     // 2 x the maze number of the file loaded
    int gridSize;  // shows the level of detail used: 196 at 0.5, 64 at 1.0, 676 at 0.25
};

void PrintTo(const DialogueCase& c, std::ostream* out) { *out << c.name; }

class GridrouteDialogue : public GridrouteRun, public ::testing::WithParamInterface<DialogueCase> {};

TEST_P(GridrouteDialogue, ChoosesMazeAndLevelOfDetail) {
    const DialogueCase& c = GetParam();
    addStandardFiles(*run);
    // The input stays open: an answer that needs no second read must not wait for one.
    startWith(c.answers);
    std::vector<std::string> lines = run->lines();
    EXPECT_EQ(numberAfter(lines, "total faces:"), c.faces) << run->text();
    EXPECT_EQ(numberAfter(lines, "grid size::"), c.gridSize) << run->text();
}

INSTANTIATE_TEST_SUITE_P(
    Answers, GridrouteDialogue,
    ::testing::Values(DialogueCase{"Two", "2\n1\n", 4, 64}, DialogueCase{"Six", "6\n1\n", 12, 64},
                      DialogueCase{"One", "1\n1\n", 4, 64}, DialogueCase{"Seven", "7\n1\n", 4, 64},
                      DialogueCase{"Zero", "0\n1\n", 4, 64}, DialogueCase{"MinusThree", "-3\n1\n", 4, 64},
                      // the map read stops at the point; the rest of the line is the detail
                      DialogueCase{"Fraction", "3.25\n", 6, 676},
                      // letters: maze2, and the detail is not read although one follows
                      DialogueCase{"Letters", "abc\n1\n", 4, 196},
                      // both answers on one line
                      DialogueCase{"OneLine", "4 1.0\n", 8, 64},
                      // a number too large for an int cannot be read either
                      DialogueCase{"TooLarge", "99999999999\n1\n", 4, 196}),
    [](const ::testing::TestParamInfo<DialogueCase>& info) { return std::string(info.param.name); });

struct DetailCase {
    const char* name;
    const char* answer;
    int gridSize;
};

void PrintTo(const DetailCase& c, std::ostream* out) { *out << c.name; }

class GridrouteDetail : public GridrouteRun, public ::testing::WithParamInterface<DetailCase> {};

TEST_P(GridrouteDetail, KeepsTheRangeAndFallsBackToHalf) {
    addStandardFiles(*run);
    startWith(std::string("2\n") + GetParam().answer + "\n");
    EXPECT_EQ(numberAfter(run->lines(), "grid size::"), GetParam().gridSize) << run->text();
}

// Tiles per side for the test mazes (extent -0.001 .. 6): trunc(6.001 / size) + 2.
INSTANTIATE_TEST_SUITE_P(Answers, GridrouteDetail,
                         ::testing::Values(DetailCase{"Smallest", "0.25", 26 * 26},
                                           DetailCase{"Largest", "3.5", 3 * 3},
                                           DetailCase{"TooSmall", "0.2", 14 * 14},
                                           DetailCase{"TooLarge", "3.6", 14 * 14},
                                           DetailCase{"Negative", "-1", 14 * 14},
                                           DetailCase{"Unreadable", "x", 14 * 14},
                                           DetailCase{"One", "1", 8 * 8}),
                         [](const ::testing::TestParamInfo<DetailCase>& info) { return std::string(info.param.name); });

TEST_F(GridrouteRun, NormalStartTranscript) {
    addStandardFiles(*run);
    startWith("3\n0.5\n");
    // Through a pipe the answers are not echoed, so each prompt shares its line with what
    // follows it.
    const std::vector<std::string> expected = {
        "",
        "DEROZUZADU",
        "",
        "",
        "",
        "select Map (range 2 - 6): ",
        "",
        "",
        "level of detail: frames: 1",
        "faces: 6",
        "vertexs: 12",
        "UVs: 1",
        "normals: 1",
        "total faces:6",
        "grid size::196",
        "loading file.tga   complete",
        "initialising lighting lighting",
    };
    EXPECT_EQ(run->lines(), expected);
}

TEST_F(GridrouteRun, MissingMazeFileIsReportedAndTheProgramRunsOn) {
    addStandardFiles(*run);
    run->files.erase("maze5.obj");
    startWith("5\n1\n");
    std::vector<std::string> lines = run->lines();
    EXPECT_EQ(countLineEnds(lines, "error objLoader.import() no file of that name!"), 1) << run->text();
    EXPECT_EQ(numberAfter(lines, "total faces:"), -1);
    EXPECT_EQ(numberAfter(lines, "grid size::"), 4);  // the empty model's minimal board
    openWindow();
    expectStillDrawing();
}

TEST_F(GridrouteRun, MissingTextureIsReportedAndTheProgramRunsOn) {
    addStandardFiles(*run);
    run->files.erase("file.tga");
    startWith("2\n1\n");
    EXPECT_EQ(countLines(run->lines(), "loading file.tga   file not found"), 1) << run->text();
    openWindow();
    expectStillDrawing();
    ScreenImage shot = run->screenshot();
    ASSERT_FALSE(shot.empty());
    EXPECT_TRUE(isColour(shot.at(2, 2), 255, 255, 255));  // white background
}

// --- the GL calls of the set-up and of one frame, recorded with apitrace ---

const char* const traceWrapper = "/usr/lib/x86_64-linux-gnu/apitrace/wrappers/glxtrace.so";

// The calls of a trace dump without their call numbers, leaving out the per-vertex calls,
// context and viewport handling done by GLUT, and empty lines. Calls whose arguments are
// pointers or come from GLU keep only their name.
std::vector<std::string> tracedCalls(const std::string& dump) {
    std::vector<std::string> calls;
    std::istringstream in(dump);
    std::string line;
    while (std::getline(in, line)) {
        size_t space = line.find(' ');
        if (line.empty() || !std::isdigit(static_cast<unsigned char>(line[0])) || space == std::string::npos) {
            continue;
        }
        std::string call = line.substr(space + 1);
        std::string name = call.substr(0, call.find('('));
        if (name == "glVertex3f" || name == "glColor3f" || name == "glNormal3f" || name == "glViewport" ||
            name == "glScissor" || (name.compare(0, 3, "glX") == 0 && name != "glXSwapBuffers")) {
            continue;
        }
        if (name == "glXSwapBuffers" || name == "glMultMatrixf" || name == "glTranslated") {
            call = name;
        }
        calls.push_back(call);
    }
    return calls;
}

TEST_F(GridrouteRun, SetUpAndDisplayPassCallOrder) {
    if (access(traceWrapper, R_OK) != 0 || runCommand({"apitrace", "help"}, 10.0) != 0) {
        GTEST_SKIP() << "apitrace is not installed (tools/ensure-deps.sh test installs it)";
    }
    addStandardFiles(*run);
    const char* preload = std::getenv("LD_PRELOAD");
    std::string preloads = preload != nullptr && preload[0] != '\0' ? std::string(preload) + ":" : "";
    run->environment = {"LD_PRELOAD=" + preloads + traceWrapper, "TRACE_FILE=gridroute.trace"};
    startWith("2\n1\n");
    usleep(1000000);
    run->stop();
    std::string dump;
    ASSERT_EQ(runCommand({"apitrace", "dump", "--color=never", run->workDir + "/gridroute.trace"}, 60.0, &dump), 0);
    std::vector<std::string> calls = tracedCalls(dump);

    std::vector<size_t> clears;
    for (size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].compare(0, 8, "glClear(") == 0) {
            clears.push_back(i);
        }
    }
    ASSERT_GE(clears.size(), 3u) << "too few frames traced";

    // Texture, material, light, depth test, white background, 45-degree projection with the
    // near plane at 0.5 and the far plane at 1000, then the identity view.
    const std::vector<std::string> setUp = {
        "glPixelStorei(pname = GL_UNPACK_ALIGNMENT, param = 1)",
        "glBindTexture(target = GL_TEXTURE_2D, texture = 0)",
        "glTexParameteri(target = GL_TEXTURE_2D, pname = GL_TEXTURE_WRAP_T, param = GL_REPEAT)",
        "glTexParameteri(target = GL_TEXTURE_2D, pname = GL_TEXTURE_WRAP_S, param = GL_REPEAT)",
        "glTexParameteri(target = GL_TEXTURE_2D, pname = GL_TEXTURE_MIN_FILTER, param = GL_NEAREST)",
        "glTexImage2D(target = GL_TEXTURE_2D, level = 0, internalformat = GL_RGB, width = 2, height = 2, "
        "border = 0, format = GL_RGB, type = GL_UNSIGNED_BYTE, pixels = blob(12))",
        "glMaterialfv(face = GL_FRONT_AND_BACK, pname = GL_DIFFUSE, params = {1, 0.81, 0.7, 1})",
        "glMaterialfv(face = GL_FRONT_AND_BACK, pname = GL_SHININESS, params = &11)",
        "glLightfv(light = GL_LIGHT0, pname = GL_AMBIENT, params = {1, 0.8, 0.8, 1})",
        "glLightfv(light = GL_LIGHT0, pname = GL_DIFFUSE, params = {1, 1, 1, 1})",
        "glShadeModel(mode = GL_SMOOTH)",
        "glEnable(cap = GL_LIGHTING)",
        "glEnable(cap = GL_LIGHT0)",
        "glLightfv(light = GL_LIGHT0, pname = GL_POSITION, params = {4, 3, 1, 0})",
        "glEnable(cap = GL_DEPTH_TEST)",
        "glClearColor(red = 1, green = 1, blue = 1, alpha = 1)",
        "glMatrixMode(mode = GL_PROJECTION)",
        "glLoadIdentity()",
        "glMultMatrixd(m = {2.414213562373095, 0, 0, 0, 0, 2.414213562373095, 0, 0, 0, 0, "
        "-1.001000500250125, -1, 0, 0, -1.000500250125063, 0})",
        "glMatrixMode(mode = GL_MODELVIEW)",
        "glLoadIdentity()",
    };
    ASSERT_GE(clears[0], setUp.size());
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + static_cast<long>(setUp.size())), setUp);

    // One whole frame (the second): search step (no GL), cursor marker, lit and textured maze,
    // unlit board, the view rebuilt, the swap, the light placed through the new view; then the
    // idle call rebuilds the view once more.
    const std::vector<std::string> view = {
        "glLoadIdentity()",
        "glMultMatrixf",
        "glTranslated",
        "glTranslatef(x = 0, y = 0, z = 0)",
        "glRotatef(angle = 0, x = 1, y = 0, z = 0)",
        "glRotatef(angle = 0, x = 0, y = 1, z = 0)",
    };
    std::vector<std::string> frame = {
        "glClear(mask = GL_DEPTH_BUFFER_BIT | GL_COLOR_BUFFER_BIT)",
        "glDisable(cap = GL_LIGHTING)",
        "glPointSize(size = 12)",
        "glBegin(mode = GL_POINTS)",
        "glEnd()",
        "glEnable(cap = GL_LIGHTING)",
        "glEnable(cap = GL_TEXTURE_2D)",
        "glBegin(mode = GL_TRIANGLES)",
        "glEnd()",
        "glDisable(cap = GL_TEXTURE_2D)",
        "glDisable(cap = GL_LIGHTING)",
        "glDisable(cap = GL_LIGHTING)",
        "glPointSize(size = 1)",
        "glBegin(mode = GL_POINTS)",
        "glEnd()",
        "glBegin(mode = GL_QUADS)",
        "glEnd()",
        "glEnable(cap = GL_LIGHTING)",
        "glEnable(cap = GL_LIGHTING)",
    };
    frame.insert(frame.end(), view.begin(), view.end());
    frame.push_back("glFlush()");  // GLUT's, before the swap
    frame.push_back("glXSwapBuffers");
    frame.push_back("glLightfv(light = GL_LIGHT0, pname = GL_POSITION, params = {4, 3, 1, 0})");
    frame.insert(frame.end(), view.begin(), view.end());
    EXPECT_EQ(std::vector<std::string>(calls.begin() + static_cast<long>(clears[1]),
                                       calls.begin() + static_cast<long>(clears[2])),
              frame);
}

// A maze far too large for the finest grid: the board stays empty and the keys find no tile.
TEST_F(GridrouteRun, OversizedGridLeavesAnEmptyBoardAndTheProgramRunsOn) {
    addStandardFiles(*run);
    run->addFile("maze2.obj", mazeObj({{1.0f, 1.0f, 1000.0f, 1000.0f}}));
    startWith("2\n0.25\n");
    EXPECT_EQ(numberAfter(run->lines(), "grid size::"), 0) << run->text();
    openWindow();
    ASSERT_TRUE(run->holdKey("Right", 0.3));
    ASSERT_TRUE(run->holdKey("F2", 0.2));
    ASSERT_TRUE(run->holdKey("F1", 0.2));
    expectStillDrawing();
}

TEST_F(GridrouteRun, ClosingTheWindowEndsTheProgramQuietly) {
    addStandardFiles(*run);
    startWith("2\n1\n");
    openWindow();
    expectStillDrawing();
    size_t before = run->lineCount();
    std::string textBefore = run->text();
    ASSERT_TRUE(run->closeWindow());
    int status = -1;
    ASSERT_TRUE(run->waitExit(10.0, &status));
    EXPECT_EQ(status, 0);
    run->stop();  // collects the rest of the output
    EXPECT_EQ(run->lineCount(), before);
    EXPECT_EQ(run->text(), textBefore);
}

// --- keys ---

TEST_F(GridrouteRun, F12PrintsOncePerPress) {
    addStandardFiles(*run);
    startWith("2\n1\n");
    openWindow();
    for (int press = 0; press < 3; ++press) {
        ASSERT_TRUE(run->holdKey("F12", 0.3));
        usleep(100000);
    }
    run->waitForQuiet(0.5, 5.0);
    EXPECT_EQ(countLines(run->lines(), "got key"), 3);
}

TEST_F(GridrouteRun, HeldMethodKeyPrintsOnEveryFrame) {
    addStandardFiles(*run);
    startWith("2\n1\n");
    openWindow();
    ASSERT_TRUE(run->holdKey("F5", 1.0));
    run->waitForQuiet(0.5, 5.0);
    EXPECT_GT(countLines(run->lines(), "Breadth first"), 5);
}

TEST_F(GridrouteRun, ResetKeyRestoresTheStartView) {
    addStandardFiles(*run);
    startWith("2\n1\n");
    openWindow();
    ScreenImage start = settledScreenshot();
    ASSERT_FALSE(start.empty());
    ASSERT_TRUE(run->holdKey("F10", 0.3));
    ScreenImage preset = settledScreenshot();
    EXPECT_GT(preset.differingPixels(start), 1000);
    ASSERT_TRUE(run->holdKey("F11", 0.3));
    EXPECT_EQ(settledScreenshot().differingPixels(start), 0);
}

// A drag with a button turns (left), pans (middle) or does nothing (right); dragging back by
// the same distance restores the picture, since every motion adds its own delta.
TEST_F(GridrouteRun, DraggingMovesTheViewByThePointersDelta) {
    addStandardFiles(*run);
    startWith("2\n1\n");
    openWindow();
    ScreenImage start = settledScreenshot();
    ASSERT_FALSE(start.empty());
    struct DragCase {
        int button;
        bool changes;
    };
    for (DragCase c : {DragCase{1, true}, DragCase{2, true}, DragCase{3, false}}) {
        SCOPED_TRACE(c.button);
        ASSERT_TRUE(run->mouseMove(400, 400));
        ASSERT_TRUE(run->mouseDown(c.button));
        ASSERT_TRUE(run->mouseMove(440, 430));
        ScreenImage moved = settledScreenshot();
        if (c.changes) {
            EXPECT_GT(moved.differingPixels(start), 1000);
        } else {
            EXPECT_EQ(moved.differingPixels(start), 0);
        }
        ASSERT_TRUE(run->mouseMove(400, 400));
        ASSERT_TRUE(run->mouseUp(c.button));
        EXPECT_EQ(settledScreenshot().differingPixels(start), 0);
    }
}

// --- a search driven from the keyboard ---

// The search maze: two walls, one from the near edge and one from the far edge, with every
// border tile free, so the cursor can be run into the far corner.
std::vector<Wall> searchWalls() {
    return {{2.0f, 0.8f, 2.0f, 5.0f}, {4.0f, 1.5f, 4.0f, 6.0f}, {1.0f, 5.5f, 3.0f, 5.5f}};
}

struct SearchResult {
    int pathTiles = -1;
    int cycles = -1;
};

// What the project's method comparison tool (the same engine, without a window) makes of the
// search maze at tile size 0.5, searching with method from the last tile (the far corner) to
// tile 0, with the default 2 expansions per frame: its table row for the method gives the path
// length and the frame count gridroute must print.
SearchResult engineResult(const char* label) {
    SearchResult result;
    char path[] = "/tmp/gridroute-search-XXXXXX";
    int fd = mkstemp(path);
    if (fd < 0) {
        return result;
    }
    std::string text = mazeObj(searchWalls());
    bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    close(fd);
    if (!written) {
        unlink(path);
        return result;
    }
    std::string table;
    int status = runCommand({SEARCHCOMPARE_PATH, "--tile-size", "0.5", "--start", "-1", "--goal", "0",
                             "--steps-per-frame", "2", path},
                            60.0, &table);
    unlink(path);
    if (status != 0) {
        ADD_FAILURE() << "searchcompare ended with " << status << ":\n" << table;
        return result;
    }
    // "<label>   <path tiles>   <expansions>   <frames>   <time>"
    std::istringstream lines(table);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind(label, 0) != 0) {
            continue;
        }
        std::istringstream numbers(line.substr(std::string(label).size()));
        int expansions = 0;
        numbers >> result.pathTiles >> expansions >> result.cycles;
        if (!numbers) {
            result = SearchResult();
        }
    }
    return result;
}

struct MethodCase {
    const char* key;
    const char* label;
    SearchMethod method;
};

void PrintTo(const MethodCase& c, std::ostream* out) { *out << c.key; }

class GridrouteSearch : public GridrouteRun, public ::testing::WithParamInterface<MethodCase> {};

TEST_P(GridrouteSearch, KeyboardSearchMatchesTheEngine) {
    const MethodCase& c = GetParam();
    SearchResult expected = engineResult(c.label);
    ASSERT_GT(expected.cycles, 0);

    run->addFile("maze2.obj", mazeObj(searchWalls()));
    run->addFile("file.tga", smallTga());
    startWith("2\n0.5\n");
    ASSERT_EQ(numberAfter(run->lines(), "grid size::"), 10 * 14);  // x up to 4, z up to 6
    openWindow();

    // The cursor starts on tile 0 (the goal) and moves one tile every fourth frame; held long
    // enough it stops at the board's edge: the far corner, the last tile.
    ASSERT_TRUE(run->holdKey("Right", 3.0));
    ASSERT_TRUE(run->holdKey("Down", 3.0));
    size_t before = run->lineCount();
    ASSERT_TRUE(run->holdKey(c.key, 0.2));
    ASSERT_TRUE(run->waitForLine(c.label, 10.0, nullptr, before));
    // The search counts its frames from the last frame that saw F1.
    before = run->lineCount();
    ASSERT_TRUE(run->holdKey("F1", 0.3));
    std::string cyclesLine;
    ASSERT_TRUE(run->waitForLine("cycles_taken: ", 30.0, &cyclesLine, before)) << run->text();
    std::vector<std::string> lines = run->lines();
    std::vector<std::string> result(lines.begin() + static_cast<long>(before), lines.end());
    EXPECT_EQ(numberAfter(result, "total tiles covered on path: "), expected.pathTiles);
    EXPECT_EQ(numberAfter(result, "cycles_taken: "), expected.cycles);

    // Seen from above: the start (far corner, +x +z) green, below and right of the red goal at
    // the origin; the path between them yellow.
    ASSERT_TRUE(run->holdKey("F10", 0.3));
    ScreenImage shot = settledScreenshot();
    ASSERT_FALSE(shot.empty());
    long greenX = 0, greenY = 0, redX = 0, redY = 0;
    int green = 0, red = 0, yellow = 0;
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            ScreenPixel p = shot.at(x, y);
            if (isColour(p, 0, 255, 0)) {
                ++green, greenX += x, greenY += y;
            } else if (isColour(p, 255, 0, 0)) {
                ++red, redX += x, redY += y;
            } else if (isColour(p, 255, 255, 0)) {
                ++yellow;
            }
        }
    }
    ASSERT_GT(green, 20);
    ASSERT_GT(red, 20);
    EXPECT_GT(yellow, 20 * (expected.pathTiles - 2));
    EXPECT_GT(greenX / green, redX / red);
    EXPECT_GT(greenY / green, redY / red);
}

INSTANTIATE_TEST_SUITE_P(Methods, GridrouteSearch,
                         ::testing::Values(MethodCase{"F5", "Breadth first", BreadthFirst},
                                           MethodCase{"F6", "Dijkstra", Dijkstra},
                                           MethodCase{"F7", "A* Manhattan", AStarManhattan},
                                           MethodCase{"F8", "A* Breaking Ties", AStarBreakingTies}),
                         [](const ::testing::TestParamInfo<MethodCase>& info) { return std::string(info.param.key); });

}  // namespace
