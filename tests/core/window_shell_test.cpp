// The shell's callbacks against a real camera on a GLUT window. This binary has its own main, so
// only the callbacks of the shell library are linked, not the shell's main.
#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include "core/window_shell.h"
#include "tests/support/gl_window.h"

KeyState keyState;
Camera camera{CameraVariant::Lookaround, keyState};

namespace {

class WindowShellTest : public GlWindowTest {
protected:
    void SetUp() override {
        GlWindowTest::SetUp();
        keyState = KeyState();
        camera.setPose(0, 0.5f, 6, 0, 0.5f, 0, 0, 1, 0);
    }
    void TearDown() override { glutMainLoopEvent(); }  // swallow pointer warps

    void expectPoseUnchanged() {
        EXPECT_FLOAT_EQ(camera.position.x, 0.0f);
        EXPECT_FLOAT_EQ(camera.position.y, 0.5f);
        EXPECT_FLOAT_EQ(camera.position.z, 6.0f);
        EXPECT_FLOAT_EQ(camera.view.x, 0.0f);
        EXPECT_FLOAT_EQ(camera.view.y, 0.5f);
        EXPECT_FLOAT_EQ(camera.view.z, 0.0f);
    }
    int heldEntries() {
        int n = 0;
        for (unsigned char e : keyState.entry) n += e != 0;
        return n;
    }
};

TEST_F(WindowShellTest, SpecialKeysMarkTheirEntry) {
    specialKeyDown(100, 5, 7);
    EXPECT_EQ(keyState.entry[100], 1);
    specialKeyDown(100, 0, 0);  // a repeated press while held
    EXPECT_EQ(keyState.entry[100], 1);
    specialKeyDown(1, 0, 0);  // F1: recorded, read by nobody
    EXPECT_EQ(keyState.entry[1], 1);
    EXPECT_EQ(heldEntries(), 2);
    specialKeyUp(100, 0, 0);
    EXPECT_EQ(keyState.entry[100], 0);
    EXPECT_EQ(keyState.entry[1], 1);

    // F1 held does not move the camera.
    glLoadIdentity();
    idle();
    expectPoseUnchanged();
}

// Codes outside 0..127 are not keys the table records: they change no entry (no alias of a low
// code either) and never index outside the table.
TEST_F(WindowShellTest, CodesOutsideTheTableAreIgnored) {
    for (int code : {128, 200, 255, 256, 356, 100000, -1, -156}) {
        specialKeyDown(code, 0, 0);
        EXPECT_EQ(heldEntries(), 0) << code;
    }
    keyState.press(200);
    specialKeyUp(200, 0, 0);
    EXPECT_EQ(keyState.entry[200], 1);
}

TEST_F(WindowShellTest, MouseTurnsTheCameraAndButtonsDoNothing) {
    mouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 410, 400);
    mouseButton(GLUT_LEFT_BUTTON, GLUT_UP, 410, 400);
    expectPoseUnchanged();
    mouseMotion(410, 400);
    EXPECT_GT(camera.view.x, 0.05f);  // turned right
    EXPECT_FLOAT_EQ(camera.position.z, 6.0f);
}

TEST_F(WindowShellTest, IdleAdvancesTheCamera) {
    specialKeyDown(GLUT_KEY_UP, 0, 0);
    idle();
    EXPECT_FLOAT_EQ(camera.position.z, 5.82f);
    specialKeyUp(GLUT_KEY_UP, 0, 0);
    idle();
    EXPECT_FLOAT_EQ(camera.position.z, 5.82f);
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
