// lookaround as a real process on the test display: its window, its first frame, walking towards
// the triangle, turning with the mouse, and End.
#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

#include "tests/apps/lookaround/gl_call_trace.h"
#include "tests/support/program_run.h"

namespace {

const char* const windowTitle = "^camera class.s $";

// The smallest rectangle holding every pixel that is not black.
struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    bool empty() const { return right < 0; }
    int width() const { return right - left + 1; }
    double centreX() const { return (left + right) / 2.0; }
    double centreY() const { return (top + bottom) / 2.0; }
};

Box litBox(const ScreenImage& image) {
    Box box;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            ScreenPixel p = image.at(x, y);
            if (p.r + p.g + p.b > 30) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
        }
    }
    return box;
}

class LookaroundRun : public ::testing::Test {
protected:
    ProgramRun run{"lookaround"};

    void SetUp() override {
        if (!displayAvailable()) {
            GTEST_SKIP() << "no X display";
        }
        ASSERT_TRUE(run.start());
        ASSERT_FALSE(run.findWindow(windowTitle).empty());
        // The pointer enters at the window's centre, which the mouse look ignores.
        ASSERT_TRUE(run.mouseMove(400, 400));
        usleep(300 * 1000);
    }

    // A new picture once the program has drawn a few more frames.
    ScreenImage settledShot() {
        usleep(150 * 1000);
        return run.screenshot();
    }

    // Press and release at once: a few camera updates at most.
    void tap(const std::string& key) {
        runCommand({"xdotool", "keydown", "--delay", "0", key, "keyup", "--delay", "0", key}, 5.0);
    }
};

TEST_F(LookaroundRun, WindowAndFirstFrame) {
    std::string geometry;
    ASSERT_EQ(runCommand({"xdotool", "getwindowgeometry", run.window}, 5.0, &geometry), 0);
    EXPECT_NE(geometry.find("Position: 120,120"), std::string::npos) << geometry;
    EXPECT_NE(geometry.find("Geometry: 800x800"), std::string::npos) << geometry;

    ScreenImage shot = run.screenshot();
    ASSERT_FALSE(shot.empty());
    // Six units ahead at eye height 0.5: the triangle spans x -1..1 and y 0..1, so it sits in
    // the middle, 320 pixels wide and 160 high, on black.
    Box box = litBox(shot);
    EXPECT_NEAR(box.left, 240, 3);
    EXPECT_NEAR(box.right, 560, 3);
    EXPECT_NEAR(box.top, 320, 3);
    EXPECT_NEAR(box.bottom, 480, 3);
    for (auto corner : {std::pair<int, int>{5, 5}, {794, 5}, {5, 794}, {794, 794}, {400, 300}}) {
        ScreenPixel p = shot.at(corner.first, corner.second);
        EXPECT_EQ(p.r + p.g + p.b, 0) << corner.first << "," << corner.second;
    }

    // Near each corner its own colour, and a blend of all three inside.
    struct Sample {
        int x, y;
        int r, g, b;  // expected, within 40
    } samples[] = {
        {400, 328, 255, 230, 20},   // below the yellow top vertex
        {548, 476, 250, 60, 15},    // by the orange-red vertex on the right
        {252, 476, 15, 60, 250},    // by the blue vertex on the left
        {400, 440, 147, 82, 108},   // inside: (5/8, 0.32, 7/16) of full
    };
    for (const Sample& s : samples) {
        ScreenPixel p = shot.at(s.x, s.y);
        EXPECT_NEAR(p.r, s.r, 40) << s.x << "," << s.y;
        EXPECT_NEAR(p.g, s.g, 40) << s.x << "," << s.y;
        EXPECT_NEAR(p.b, s.b, 40) << s.x << "," << s.y;
    }

    // F1 and a mouse button change nothing.
    ASSERT_TRUE(run.holdKey("F1", 0.2));
    ASSERT_TRUE(run.mouseDown(1));
    ASSERT_TRUE(run.mouseUp(1));
    EXPECT_EQ(settledShot().differingPixels(shot), 0);
}

// The up arrow walks towards the triangle at eye height: it grows, and stays centred on the
// horizon row.
TEST_F(LookaroundRun, UpArrowWalksTowardsTheTriangle) {
    Box first = litBox(run.screenshot());
    ASSERT_FALSE(first.empty());
    Box now = first;
    for (int i = 0; i < 60 && now.width() < first.width() + 30; ++i) {
        tap("Up");
        Box next = litBox(settledShot());
        ASSERT_FALSE(next.empty()) << "walked through the triangle in one tap";
        EXPECT_GE(next.width(), now.width());
        EXPECT_NEAR(next.centreY(), 400.0, 1.5);  // the eye height stays 0.5
        EXPECT_NEAR(next.centreX(), 400.0, 1.5);
        now = next;
    }
    EXPECT_GE(now.width(), first.width() + 30);
}

// 100 pixels left of the centre turns the view 0.1 radian left: the triangle moves right by
// tan(0.1) / tan(22.5 degrees) of half the window; 100 pixels up tilts the view up, so the
// triangle moves down as far.
TEST_F(LookaroundRun, MouseTurnsTheView) {
    Box first = litBox(run.screenshot());
    ASSERT_TRUE(run.mouseMove(300, 400));
    run.pointerX = 400;  // the program has warped the pointer back to the centre
    Box turned = litBox(settledShot());
    EXPECT_NEAR(turned.centreX() - first.centreX(), 97.0, 8.0);
    EXPECT_NEAR(turned.centreY(), first.centreY(), 2.0);

    ASSERT_TRUE(run.mouseMove(400, 300));
    run.pointerY = 400;
    Box tilted = litBox(settledShot());
    EXPECT_NEAR(tilted.centreY() - first.centreY(), 97.0, 10.0);

    // Dragging with a button held turns it too: 0.1 radian right undoes the first turn.
    ASSERT_TRUE(run.mouseDown(1));
    ASSERT_TRUE(run.mouseMove(500, 400));
    run.pointerX = 400;
    ASSERT_TRUE(run.mouseUp(1));
    Box back = litBox(settledShot());
    EXPECT_NEAR(back.centreX(), first.centreX(), 3.0);
    EXPECT_NEAR(back.centreY(), tilted.centreY(), 3.0);
}

TEST_F(LookaroundRun, EndQuitsWithStatusZero) {
    ASSERT_TRUE(run.keyDown("End"));
    int status = -1;
    bool ended = run.waitExit(10.0, &status);
    // The X server keeps End down until it is released; a later run would see no new press.
    runCommand({"xdotool", "keyup", "End"}, 5.0);
    ASSERT_TRUE(ended);
    EXPECT_EQ(status, 0);
}

// The GL calls of start-up and of each display pass, in order, as the driver received them.
TEST(LookaroundCalls, StartUpAndDisplayPassOrder) {
    if (!displayAvailable() || !apitraceAvailable()) {
        GTEST_SKIP() << "needs an X display and apitrace";
    }
    std::vector<std::vector<std::string>> frames = splitAtSwaps(traceGlCalls("lookaround", {}, 0.5));
    ASSERT_GE(frames.size(), 3u);

    const std::string lookAt = "glMultMatrixf(";
    const std::string fromStartPose = "glTranslated(x = -0, y = -0.5, z = -6)";
    const std::vector<std::string> pass = {
        "glClear(mask = GL_DEPTH_BUFFER_BIT | GL_COLOR_BUFFER_BIT)",
        "glLoadIdentity()",
        lookAt,
        fromStartPose,
        "glBegin(mode = GL_TRIANGLES)",
        "glColor3f(red = 1, green = 0.2, blue = 0)",
        "glVertex3f(x = 1, y = 0, z = 0)",
        "glColor3f(red = 1, green = 1, blue = 0)",
        "glVertex3f(x = 0, y = 1, z = 0)",
        "glColor3f(red = 0, green = 0.2, blue = 1)",
        "glVertex3f(x = -1, y = 0, z = 0)",
        "glEnd()",
    };
    std::vector<std::string> startUp = {
        "glEnable(cap = GL_DEPTH_TEST)",
        "glClearColor(red = 0, green = 0, blue = 0, alpha = 0)",
        "glShadeModel(mode = GL_SMOOTH)",
        "glMatrixMode(mode = GL_PROJECTION)",
        "glLoadIdentity()",
        "glMultMatrixd(m = {2.414213562373095, 0, 0, 0, 0, 2.414213562373095, 0, 0, 0, 0, "
        "-1.006688963210702, -1, 0, 0, -1.003344481605351, 0})",  // 45 degrees, 1, 0.5, 150
        "glMatrixMode(mode = GL_MODELVIEW)",
        "glLoadIdentity()",
    };
    startUp.insert(startUp.end(), pass.begin(), pass.end());

    auto expectCalls = [](const std::vector<std::string>& actual,
                          const std::vector<std::string>& expected) {
        ASSERT_EQ(actual.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_TRUE(startsWith(actual[i], expected[i])) << i << ": " << actual[i];
        }
    };
    {
        SCOPED_TRACE("start-up and first pass");
        expectCalls(frames[0], startUp);
    }
    // After each swap: the display pass's own camera update, any number of idle updates (each
    // a look-at multiplied onto the matrix), then the next pass.
    for (size_t f = 1; f < frames.size(); ++f) {
        SCOPED_TRACE("frame " + std::to_string(f));
        const std::vector<std::string>& calls = frames[f];
        size_t i = 0;
        while (i + 1 < calls.size() && startsWith(calls[i], lookAt)) {
            EXPECT_EQ(calls[i + 1], fromStartPose);
            i += 2;
        }
        EXPECT_GE(i, 2u) << "no camera update after the swap";
        expectCalls(std::vector<std::string>(calls.begin() + i, calls.end()), pass);
    }
}

}  // namespace
