#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "apps/streamview/flow_field.h"
#include "tests/apps/streamview/field_fixture.h"

namespace {

TEST(FlowField, CellCentresOfA32By32Image) {
    FlowField field;
    ReleaseCells releaseField(field);
    buildUniform(field, 32, 32, 0);
    ASSERT_EQ(field.cellCount, 1024);
    EXPECT_FLOAT_EQ(field.cellSizeX, 0.2f);
    EXPECT_FLOAT_EQ(field.cellSizeZ, 0.2f);
    struct Case {
        int cell;
        float x, z;
    } cases[] = {
        {0, -3.1f, -3.1f},
        {1, -3.1f, -2.9f},   // +1 is one step along z
        {32, -2.9f, -3.1f},  // +height is one step along x
        {1023, 3.1f, 3.1f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cell);
        EXPECT_NEAR(field.cells[c.cell].position.x, c.x, 1e-6);
        EXPECT_NEAR(field.cells[c.cell].position.z, c.z, 1e-6);
    }
}

TEST(FlowField, ArrowHeadingFromRed) {
    struct Case {
        int red;
        float x, z;
    } cases[] = {
        {0, -0.1f, 0.0f},
        {64, 0.000616003f, 0.0999981f},
        {128, 0.0999924f, -0.00123198f},
        {191, 0.000615971f, -0.0999981f},
        {255, -0.1f, 0.0f},  // one full turn
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.red);
        FlowField field;
        ReleaseCells releaseField(field);
        buildUniform(field, 32, 32, c.red);
        const FlowCell& cell = field.cells[500];
        EXPECT_NEAR(cell.direction.x, c.x, 2e-7);
        EXPECT_NEAR(cell.direction.z, c.z, 2e-7);
        EXPECT_NEAR(std::hypot(cell.direction.x, cell.direction.z), 0.1, 1e-7);
    }
}

TEST(FlowField, GreenAndBlueDoNotInfluenceTheArrows) {
    auto red = [](int s) { return (s * 37) % 256; };
    std::vector<unsigned char> plain = makePixels(32, 32, red, 0, 0);
    std::vector<unsigned char> coloured = makePixels(32, 32, red, 255, 90);
    FlowField a;
    ReleaseCells releaseA(a);
    FlowField b;
    ReleaseCells releaseB(b);
    {
        ConsoleCapture quiet;
        a.build(32, 32, plain.data(), 3);
        b.build(32, 32, coloured.data(), 3);
    }
    for (int s = 0; s < 1024; ++s) {
        ASSERT_EQ(a.cells[s].direction.x, b.cells[s].direction.x) << s;
        ASSERT_EQ(a.cells[s].direction.z, b.cells[s].direction.z) << s;
    }
}

// Cell s reads the red value of pixel number s, whatever the image's shape: on a 40 x 30 image
// cell 30 (one step along x) takes pixel 30, which lies in the image's first row.
TEST(FlowField, CellTakesThePixelWithItsRunningNumber) {
    std::vector<unsigned char> pixels = makePixels(40, 30, [](int s) { return s == 30 ? 64 : s == 1 ? 128 : 0; });
    FlowField field;
    ReleaseCells releaseField(field);
    {
        ConsoleCapture quiet;
        field.build(40, 30, pixels.data(), 3);
    }
    ASSERT_EQ(field.cellCount, 1200);
    EXPECT_NEAR(field.cells[30].position.x, -4.0f + 0.3f, 1e-6);  // i = 1
    EXPECT_NEAR(field.cells[30].position.z, -3.0f + 0.1f, 1e-6);  // j = 0
    EXPECT_NEAR(field.cells[30].direction.z, 0.1f, 1e-5);         // red 64: +z
    EXPECT_NEAR(field.cells[1].direction.x, 0.1f, 1e-5);          // red 128: +x
    EXPECT_NEAR(field.cells[2].direction.x, -0.1f, 1e-5);         // red 0: -x
}

TEST(FlowField, DiagnosticLines) {
    // Pixel 0 has red 37, cell 11 red 128.
    std::vector<unsigned char> pixels =
        makePixels(32, 32, [](int s) { return s == 0 ? 37 : s == 11 ? 128 : 5; }, 200, 200);
    FlowField field;
    ReleaseCells releaseField(field);
    ConsoleCapture console;
    field.build(32, 32, pixels.data(), 3);
    std::vector<std::string> expected = {
        "bob:37",
        "bob:0.0246399",
        "temp_x:0.999696 temp_z:-0.0246374",
        "-0.00123198",
        "0.0999924",
    };
    EXPECT_EQ(console.lines(), expected);
}

// Images the field cannot be read from, or too small for the cell-11 lines and for 1000
// particles: one explanatory line, no read outside the pixel or cell array (the pixel arrays
// are exactly as large as the images), and a field of what exists.
TEST(FlowField, UnusableOrSmallImages) {
    std::vector<unsigned char> nine = makePixels(3, 3, [](int) { return 0; });
    std::vector<unsigned char> hundred = makePixels(10, 10, [](int) { return 0; });
    std::vector<unsigned char> fourBytes(32 * 32 * 4, 0);
    std::vector<unsigned char> largest(1024 * 1024 * 3, 0);
    const std::string noData = "flow field: the image has no 24-bit pixel data, no arrows and no particles";
    const std::string scale = "bob:0.0246399";
    const std::string trig = "temp_x:0.999696 temp_z:-0.0246374";
    struct Case {
        const char* name;
        float width, height;
        const unsigned char* pixels;
        int bytesPerPixel;
        int cellCount;
        std::vector<std::string> lines;
    } cases[] = {
        {"missing image", 0, 0, nullptr, 0, 0, {noData, scale, trig}},
        {"size but no pixel data", 32, 32, nullptr, 3, 0, {noData, scale, trig}},
        {"32-bit pixels", 32, 32, fourBytes.data(), 4, 0, {noData, scale, trig}},
        {"negative size", -1, -1, nine.data(), 3, 0, {noData, scale, trig}},
        // the size is all that is looked at: the pixels are never read
        {"more than 1024 x 1024", 1025, 1024, nine.data(), 3, 0,
         {"flow field: the image has more than 1048576 pixels, no arrows and no particles", scale, trig}},
        {"1024 x 1024", 1024, 1024, largest.data(), 3, 1024 * 1024, {"bob:0", scale, trig, "0", "-0.1"}},
        {"32767 x 32767", 32767, 32767, nine.data(), 3, 0,
         {"flow field: the image has more than 1048576 pixels, no arrows and no particles", scale, trig}},
        {"3 x 3", 3, 3, nine.data(), 3, 9,
         {"bob:0", scale, trig, "flow field: only 9 cells, particles are released into existing cells only"}},
        {"10 x 10", 10, 10, hundred.data(), 3, 100,
         {"bob:0", scale, trig, "0", "-0.1",
          "flow field: only 100 cells, particles are released into existing cells only"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FlowField field;
        ReleaseCells releaseField(field);
        ConsoleCapture console;
        field.build(c.width, c.height, c.pixels, c.bytesPerPixel);
        EXPECT_EQ(console.lines(), c.lines);
        EXPECT_EQ(field.cellCount, c.cellCount);
        EXPECT_EQ(field.cells == nullptr, c.cellCount == 0);
    }
}

}  // namespace
