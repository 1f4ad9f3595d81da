// streamview as a whole: the real binary in a scratch folder with a fixture image, on the test
// display. A preloaded helper stops the program right after chosen buffer swaps, so the
// screenshots show exactly those frames.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/types.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/program_run.h"

namespace {

struct Rgb8 {
    int r, g, b;
};

// An uncompressed 24-bit TGA image; pixel(s) gives pixel number s in file order.
std::string tga24(int width, int height, const std::function<Rgb8(int)>& pixel) {
    std::string bytes(18, '\0');
    bytes[2] = 2;
    bytes[12] = char(width & 0xff);
    bytes[13] = char(width >> 8);
    bytes[14] = char(height & 0xff);
    bytes[15] = char(height >> 8);
    bytes[16] = 24;
    for (int s = 0; s < width * height; ++s) {
        Rgb8 p = pixel(s);
        bytes += char(p.b);
        bytes += char(p.g);
        bytes += char(p.r);
    }
    return bytes;
}

// Green ground; the arrows point along +x (red 128) except in cell 0 (red 37) and cell 11
// (red 64), whose values show in the console lines.
std::string groundImage() {
    return tga24(32, 32, [](int s) { return Rgb8{s == 0 ? 37 : s == 11 ? 64 : 128, 255, 0}; });
}

bool isStopped(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    size_t close = text.rfind(')');
    return close != std::string::npos && close + 2 < text.size() && text[close + 2] == 'T';
}

bool waitStopped(pid_t pid, double seconds) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (isStopped(pid)) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// Starts the program with the pause helper preloaded, stopping after the given swaps.
bool startPausingAfter(ProgramRun& run, const std::string& swaps) {
    const char* old = std::getenv("LD_PRELOAD");
    std::string saved = old != nullptr ? old : "";
    std::string preload = PAUSE_AFTER_SWAP_LIBRARY;
    if (!saved.empty()) {
        preload += ":" + saved;
    }
    setenv("LD_PRELOAD", preload.c_str(), 1);
    setenv("VIEWERS_PAUSE_AFTER_SWAPS", swaps.c_str(), 1);
    bool started = run.start();
    if (saved.empty()) {
        unsetenv("LD_PRELOAD");
    } else {
        setenv("LD_PRELOAD", saved.c_str(), 1);
    }
    unsetenv("VIEWERS_PAUSE_AFTER_SWAPS");
    return started;
}

// Waits for the next pause, takes a screenshot and lets the program go on.
ScreenImage shotAtNextPause(ProgramRun& run) {
    EXPECT_TRUE(waitStopped(run.pid, 20.0)) << "the program did not reach the frame";
    ScreenImage shot = run.screenshot();
    kill(run.pid, SIGCONT);
    return shot;
}

class StreamviewProgram : public ::testing::Test {
protected:
    void SetUp() override {
        if (!displayAvailable()) {
            GTEST_SKIP() << "no X display";
        }
    }
};

bool brightGround(const ScreenPixel& p) { return p.g > 240 && p.b < 20; }
bool dimGround(const ScreenPixel& p) { return p.g >= 95 && p.g <= 110 && p.b < 20; }
// Particles and their tails are grey to white; ground and arrows are not.
bool particleColour(const ScreenPixel& p) {
    return p.r > 100 && std::abs(p.r - p.g) < 12 && std::abs(p.g - p.b) < 12;
}

TEST_F(StreamviewProgram, ConsoleGroundBrightnessAndMovingParticles) {
    ProgramRun run("streamview");
    run.addFile("32_sample4.tga", groundImage());
    ASSERT_TRUE(startPausingAfter(run, "1,40,80"));
    ASSERT_FALSE(run.findWindow("^camera class.s $").empty());

    ScreenImage first = shotAtNextPause(run);
    ScreenImage frame40 = shotAtNextPause(run);
    ScreenImage frame80 = shotAtNextPause(run);
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(frame40.empty());
    ASSERT_FALSE(frame80.empty());

    std::vector<std::string> expected = {
        "push: -0.0909091",
        "loading 32_sample4.tga   complete",
        "bob:37",
        "bob:0.0246399",
        "temp_x:0.999696 temp_z:-0.0246374",
        "0.0999981",    // cell 11, red 64: z, then x
        "0.000616003",
    };
    EXPECT_EQ(run.lines(), expected);

    // The ground takes the colour the arrows and particles leave behind: white only at first.
    EXPECT_GT(first.count(brightGround), 20000);
    EXPECT_EQ(first.count(dimGround), 0);
    EXPECT_EQ(frame40.count(brightGround), 0);
    EXPECT_GT(frame40.count(dimGround), 20000);

    // Nothing but the particles changes between frames 40 and 80 while no key is held.
    int changed = frame40.differingPixels(frame80);
    EXPECT_GT(changed, 200);
    int unexplained = 0;
    for (int y = 0; y < frame40.height; ++y) {
        for (int x = 0; x < frame40.width; ++x) {
            ScreenPixel a = frame40.at(x, y);
            ScreenPixel b = frame80.at(x, y);
            bool differs = a.r != b.r || a.g != b.g || a.b != b.b;
            if (differs && !particleColour(a) && !particleColour(b)) {
                ++unexplained;
            }
        }
    }
    EXPECT_EQ(unexplained, 0);

    EXPECT_TRUE(run.running());
}

// Images the field cannot use, or too small for 1000 particles: one line says so and the viewer
// keeps drawing frames.
TEST_F(StreamviewProgram, KeepsRunningWithUnusableOrSmallImages) {
    std::string bits32 = tga24(32, 32, [](int) { return Rgb8{0, 0, 0}; });
    bits32.resize(18);
    bits32[16] = 32;
    bits32 += std::string(32 * 32 * 4, '\x40');
    const std::string scale = "bob:0.0246399";
    const std::string trig = "temp_x:0.999696 temp_z:-0.0246374";
    const std::string noData = "flow field: the image has no 24-bit pixel data, no arrows and no particles";
    struct Case {
        const char* name;
        std::string image;  // empty: no file
        std::vector<std::string> lines;
    } cases[] = {
        {"missing", "", {"push: -0.0909091", "loading 32_sample4.tga   file not found", noData, scale, trig}},
        {"32-bit", bits32, {"push: -0.0909091", "loading 32_sample4.tga   complete", noData, scale, trig}},
        {"3 x 3",
         tga24(3, 3, [](int) { return Rgb8{128, 255, 0}; }),
         {"push: -0.0909091", "loading 32_sample4.tga   complete", "bob:128", scale, trig,
          "flow field: only 9 cells, particles are released into existing cells only"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramRun run("streamview");
        if (!c.image.empty()) {
            run.addFile("32_sample4.tga", c.image);
        }
        ASSERT_TRUE(startPausingAfter(run, "1100"));
        EXPECT_TRUE(waitStopped(run.pid, 30.0)) << "the program did not draw 1100 frames";
        EXPECT_EQ(run.lines(), c.lines);
        kill(run.pid, SIGCONT);
        EXPECT_TRUE(run.running());
    }
}

}  // namespace
