// One GLUT window (800 x 800, double-buffered RGB with depth) and its GL context, made once per
// test binary. Tests that touch GL derive their fixture from GlWindowTest; without a display
// they skip.
#pragma once

#include <gtest/gtest.h>

#include <vector>

// Creates the window on first use; false when no display can be opened.
bool ensureGlWindow();

class GlWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
};

// RGB bytes of one pixel of the back buffer, window coordinates with (0, 0) at bottom left.
struct Rgb {
    int r, g, b;
};
Rgb readBackPixel(int x, int y);
