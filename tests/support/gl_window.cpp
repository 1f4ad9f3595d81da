#include "tests/support/gl_window.h"

#include <GL/freeglut.h>
#include <X11/Xlib.h>

#include <cstdlib>

namespace {
bool triedWindow = false;
bool haveWindow = false;
}  // namespace

bool ensureGlWindow() {
    if (triedWindow) {
        return haveWindow;
    }
    triedWindow = true;
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || display[0] == '\0') {
        return false;
    }
    // glutInit ends the process when it cannot open the display, so look first.
    Display* probe = XOpenDisplay(nullptr);
    if (probe == nullptr) {
        return false;
    }
    XCloseDisplay(probe);
    int argc = 1;
    char name[] = "gltest";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(800, 800);
    glutInitWindowPosition(120, 120);
    glutCreateWindow("gl test ");
    glutDisplayFunc([] {});
    glutMainLoopEvent();
    haveWindow = true;
    return true;
}

void GlWindowTest::SetUp() {
    if (!ensureGlWindow()) {
        GTEST_SKIP() << "no X display for GL tests";
    }
    glReadBuffer(GL_BACK);
}

Rgb readBackPixel(int x, int y) {
    unsigned char p[4] = {0, 0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, p);
    return Rgb{p[0], p[1], p[2]};
}
