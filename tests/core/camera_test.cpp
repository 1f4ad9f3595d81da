// The free-look camera in its three variants, on a real GLUT window: gluLookAt, the pointer warp
// and the redisplay request all go to the driver and the X server.
#include <gtest/gtest.h>

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xlib.h>

#include <cmath>
#include <initializer_list>
#include <string>

#include "core/camera.h"
#include "tests/support/gl_window.h"

namespace {

const char* variantName(CameraVariant v) {
    switch (v) {
    case CameraVariant::Lookaround: return "lookaround";
    case CameraVariant::Tilewalk: return "tilewalk";
    case CameraVariant::Streamview: return "streamview";
    }
    return "?";
}

const CameraVariant allVariants[] = {CameraVariant::Lookaround, CameraVariant::Tilewalk,
                                     CameraVariant::Streamview};

void expectVec(const char* what, Vector3 v, Vector3 e, float tolerance = 0.0f) {
    SCOPED_TRACE(what);
    if (tolerance == 0.0f) {
        EXPECT_FLOAT_EQ(v.x, e.x);
        EXPECT_FLOAT_EQ(v.y, e.y);
        EXPECT_FLOAT_EQ(v.z, e.z);
    } else {
        EXPECT_NEAR(v.x, e.x, tolerance);
        EXPECT_NEAR(v.y, e.y, tolerance);
        EXPECT_NEAR(v.z, e.z, tolerance);
    }
}

bool finite(Vector3 v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

// The look-at matrix (column-major, as GL stores it) worked out independently in double.
void lookAtMatrix(Vector3 eye, Vector3 centre, Vector3 up, double m[16]) {
    double f[3] = {double(centre.x) - eye.x, double(centre.y) - eye.y, double(centre.z) - eye.z};
    double fl = std::sqrt(f[0] * f[0] + f[1] * f[1] + f[2] * f[2]);
    for (double& c : f) c /= fl;
    double u[3] = {up.x, up.y, up.z};
    double s[3] = {f[1] * u[2] - f[2] * u[1], f[2] * u[0] - f[0] * u[2], f[0] * u[1] - f[1] * u[0]};
    double sl = std::sqrt(s[0] * s[0] + s[1] * s[1] + s[2] * s[2]);
    for (double& c : s) c /= sl;
    double v[3] = {s[1] * f[2] - s[2] * f[1], s[2] * f[0] - s[0] * f[2], s[0] * f[1] - s[1] * f[0]};
    double e[3] = {eye.x, eye.y, eye.z};
    for (int col = 0; col < 3; ++col) {
        m[col * 4 + 0] = s[col];
        m[col * 4 + 1] = v[col];
        m[col * 4 + 2] = -f[col];
        m[col * 4 + 3] = 0.0;
    }
    m[12] = -(s[0] * e[0] + s[1] * e[1] + s[2] * e[2]);
    m[13] = -(v[0] * e[0] + v[1] * e[1] + v[2] * e[2]);
    m[14] = f[0] * e[0] + f[1] * e[1] + f[2] * e[2];
    m[15] = 1.0;
}

// The model-view matrix in GL must be the look-at of the camera's current pose.
void expectModelViewIsPose(const Camera& camera) {
    double expected[16];
    lookAtMatrix(camera.position, camera.view, camera.up, expected);
    float actual[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, actual);
    for (int i = 0; i < 16; ++i) {
        double tolerance = 2e-5 * std::max(1.0, std::fabs(expected[i]));
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "model-view element " << i;
    }
}

class CameraTest : public GlWindowTest {
protected:
    void SetUp() override {
        GlWindowTest::SetUp();
        if (IsSkipped()) return;
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
};

const int keyLeft = 100, keyUp = 101, keyRight = 102, keyDown = 103, keyHome = 106, keyEnd = 107;

TEST_F(CameraTest, ConstructionDefaults) {
    KeyState keys;
    for (CameraVariant variant : allVariants) {
        SCOPED_TRACE(variantName(variant));
        Camera camera(variant, keys);
        expectVec("position", camera.position, {0, 0, 0});
        expectVec("view", camera.view, {0, 1, 0.5f});
        expectVec("up", camera.up, {0, 0, 1});
        expectVec("strafe", camera.strafe, {0, 0, 0});
    }
}

// One update with the given keys held, from a pose; then eye, view point, strafe and the matrix
// handed to GL.
TEST_F(CameraTest, OneUpdateWithHeldKeys) {
    struct Case {
        CameraVariant variant;
        std::initializer_list<int> held;
        Vector3 eye, view;
    };
    const Vector3 eye0(0, 0.5f, 6), view0(0, 0.5f, 0);
    const CameraVariant L = CameraVariant::Lookaround, T = CameraVariant::Tilewalk,
                        S = CameraVariant::Streamview;
    const Case cases[] = {
        // Forward and back: the step is 0.03 of the eye-to-view distance, halved in streamview.
        {L, {keyUp}, {0, 0.5f, 5.82f}, {0, 0.5f, -0.18f}},
        {T, {keyUp}, {0, 0.5f, 5.82f}, {0, 0.5f, -0.18f}},
        {S, {keyUp}, {0, 0.5f, 5.91f}, {0, 0.5f, -0.09f}},
        {L, {keyDown}, {0, 0.5f, 6.18f}, {0, 0.5f, 0.18f}},
        {S, {keyDown}, {0, 0.5f, 6.09f}, {0, 0.5f, 0.09f}},
        // Sideways along strafe = (1, 0, 0): twice as far in tilewalk; in streamview the eye
        // moves three times as far as the view point.
        {L, {keyLeft}, {-0.03f, 0.5f, 6}, {-0.03f, 0.5f, 0}},
        {T, {keyLeft}, {-0.06f, 0.5f, 6}, {-0.06f, 0.5f, 0}},
        {S, {keyLeft}, {-0.09f, 0.5f, 6}, {-0.03f, 0.5f, 0}},
        {L, {keyRight}, {0.03f, 0.5f, 6}, {0.03f, 0.5f, 0}},
        {T, {keyRight}, {0.06f, 0.5f, 6}, {0.06f, 0.5f, 0}},
        {S, {keyRight}, {0.09f, 0.5f, 6}, {0.03f, 0.5f, 0}},
        // Home rises in streamview only; End lowers there.
        {L, {keyHome}, eye0, view0},
        {T, {keyHome}, eye0, view0},
        {S, {keyHome}, {0, 0.545f, 6}, {0, 0.545f, 0}},
        {S, {keyEnd}, {0, 0.455f, 6}, {0, 0.455f, 0}},
        // F1 and no key at all: nothing moves.
        {L, {1}, eye0, view0},
        {T, {}, eye0, view0},
        // Several keys act in one call, sideways before forward: the forward step of streamview
        // already uses the direction the sideways step turned.
        {S, {keyUp, keyLeft}, {-0.0891f, 0.5f, 5.91f}, {-0.0291f, 0.5f, -0.09f}},
        {T, {keyUp, keyRight}, {0.06f, 0.5f, 5.82f}, {0.06f, 0.5f, -0.18f}},
    };
    for (const Case& c : cases) {
        std::string keysText;
        for (int k : c.held) keysText += std::to_string(k) + " ";
        SCOPED_TRACE(std::string(variantName(c.variant)) + " keys " + keysText);
        KeyState keys;
        for (int k : c.held) keys.press(k);
        Camera camera(c.variant, keys);
        camera.setPose(eye0.x, eye0.y, eye0.z, view0.x, view0.y, view0.z, 0, 1, 0);
        glLoadIdentity();
        camera.update();
        expectVec("eye", camera.position, c.eye);
        expectVec("view", camera.view, c.view);
        expectVec("up", camera.up, {0, 1, 0});
        expectVec("strafe", camera.strafe, {1, 0, 0});
        expectModelViewIsPose(camera);
    }
}

// Forward while looking 45 degrees down: lookaround walks (the eye height stays), the others fly.
TEST_F(CameraTest, ForwardWhileLookingDown) {
    struct Case {
        CameraVariant variant;
        Vector3 eye, view;
    } cases[] = {
        {CameraVariant::Lookaround, {0, 1, -0.03f}, {0, 0, -1.03f}},
        {CameraVariant::Tilewalk, {0, 0.97f, -0.03f}, {0, -0.03f, -1.03f}},
        {CameraVariant::Streamview, {0, 0.985f, -0.015f}, {0, -0.015f, -1.015f}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(variantName(c.variant));
        KeyState keys;
        keys.press(keyUp);
        Camera camera(c.variant, keys);
        camera.setPose(0, 1, 0, 0, 0, -1, 0, 1, 0);
        camera.update();
        expectVec("eye", camera.position, c.eye);
        expectVec("view", camera.view, c.view);
    }
}

TEST_F(CameraTest, RotateAroundAxis) {
    const float halfPi = float(M_PI / 2);
    struct Case {
        float angle;
        Vector3 axis, direction, expected;
    } cases[] = {
        {0.0f, {0, 1, 0}, {0, 0, -6}, {0, 0, -6}},
        // Right-handed: a quarter turn about +y takes -z to -x, about +x takes -z to +y.
        {halfPi, {0, 1, 0}, {0, 0, -6}, {-6, 0, 0}},
        {halfPi, {1, 0, 0}, {0, 0, -6}, {0, 6, 0}},
        {-halfPi, {0, 1, 0}, {3, 0, 0}, {0, 0, 3}},
    };
    for (const Case& c : cases) {
        KeyState keys;
        Camera camera(CameraVariant::Tilewalk, keys);
        Vector3 eye(1, 2, 3);
        camera.setPose(eye.x, eye.y, eye.z, eye.x + c.direction.x, eye.y + c.direction.y,
                       eye.z + c.direction.z, 0, 1, 0);
        camera.rotateAroundAxis(c.angle, c.axis.x, c.axis.y, c.axis.z);
        expectVec("eye stays", camera.position, eye);
        expectVec("direction", camera.view - camera.position, c.expected, 1e-5f);
    }
}

// Where the X server has the pointer, in the test window's coordinates.
void pointerInWindow(int& x, int& y) {
    Display* display = glXGetCurrentDisplay();
    Window window = glXGetCurrentDrawable();
    XSync(display, False);
    Window root, child;
    int rootX, rootY;
    unsigned int mask;
    XQueryPointer(display, window, &root, &child, &rootX, &rootY, &x, &y, &mask);
}

void putPointer(int x, int y) {
    Display* display = glXGetCurrentDisplay();
    XWarpPointer(display, 0, glXGetCurrentDrawable(), 0, 0, 0, 0, x, y);
    XSync(display, False);
    glutMainLoopEvent();  // swallow the motion events
}

TEST_F(CameraTest, LookWithMouse) {
    const float c = float(std::cos(0.01)), s = float(std::sin(0.01));
    struct Case {
        int x, y;
        Vector3 direction;
        bool warps;
    } cases[] = {
        {400, 400, {0, 0, -6}, false},
        // Ten pixels right of the centre: 0.01 radian to the right about y.
        {410, 400, {6 * s, 0, -6 * c}, true},
        // Ten pixels above: 0.01 radian up.
        {400, 390, {0, 6 * s, -6 * c}, true},
        {390, 400, {-6 * s, 0, -6 * c}, true},
    };
    for (CameraVariant variant : allVariants) {
        for (const Case& k : cases) {
            SCOPED_TRACE(std::string(variantName(variant)) + " mouse " + std::to_string(k.x) +
                         "," + std::to_string(k.y));
            KeyState keys;
            Camera camera(variant, keys);
            camera.setPose(0, 0.5f, 6, 0, 0.5f, 0, 0, 1, 0);
            putPointer(30, 40);
            camera.lookWithMouse(k.x, k.y);
            expectVec("eye", camera.position, {0, 0.5f, 6});
            expectVec("direction", camera.view - camera.position, k.direction, 1e-5f);
            int px = -1, py = -1;
            pointerInWindow(px, py);
            EXPECT_EQ(px, k.warps ? 400 : 30);
            EXPECT_EQ(py, k.warps ? 400 : 40);
        }
    }
    glutMainLoopEvent();
}

// The tilt has no limit: one motion 1600 pixels above the centre tilts the view 1.6 radian
// up, past straight up.
TEST_F(CameraTest, TiltHasNoLimit) {
    KeyState keys;
    Camera camera(CameraVariant::Lookaround, keys);
    camera.setPose(0, 0.5f, 6, 0, 0.5f, 0, 0, 1, 0);
    camera.lookWithMouse(400, 400 - 1600);
    Vector3 d = camera.view - camera.position;
    EXPECT_NEAR(d.y, 6 * std::sin(1.6), 1e-4);
    EXPECT_NEAR(d.z, -6 * std::cos(1.6), 1e-4);  // positive: over the top, looking backwards
    glutMainLoopEvent();
}

// A view turned exactly along up gives a right vector of zero length. The camera keeps its last
// strafe vector then; nothing becomes NaN and the sideways keys keep working.
TEST_F(CameraTest, ViewAlongUpKeepsThePreviousStrafe) {
    for (CameraVariant variant : allVariants) {
        SCOPED_TRACE(variantName(variant));
        KeyState keys;
        Camera camera(variant, keys);
        camera.setPose(0, 0.5f, 6, 0, 0.5f, 0, 0, 1, 0);
        camera.update();  // strafe (1, 0, 0)
        camera.setPose(0, 5, 0, 0, 0, 0, 0, 1, 0);  // straight down
        keys.press(keyLeft);
        camera.update();
        expectVec("strafe", camera.strafe, {1, 0, 0});
        EXPECT_TRUE(finite(camera.position) && finite(camera.view));
        EXPECT_LT(camera.position.x, 0.0f);

        // Mouse look from straight down tilts about the kept right vector: 0.01 radian down,
        // past straight down towards +z.
        keys.release(keyLeft);
        camera.setPose(0, 5, 0, 0, 0, 0, 0, 1, 0);
        camera.lookWithMouse(400, 410);
        Vector3 d = camera.view - camera.position;
        EXPECT_NEAR(d.x, 0.0f, 1e-6f);
        EXPECT_NEAR(d.y, -5 * std::cos(0.01), 1e-5);
        EXPECT_NEAR(d.z, 5 * std::sin(0.01), 1e-5);
        glLoadIdentity();
        camera.update();
        expectModelViewIsPose(camera);
    }
    glutMainLoopEvent();
}

// With no right vector known at all, the camera neither moves sideways nor tilts, and stays finite.
TEST_F(CameraTest, ViewAlongUpWithNoStrafeYet) {
    KeyState keys;
    keys.press(keyLeft);
    Camera camera(CameraVariant::Tilewalk, keys);
    camera.setPose(0, 5, 0, 0, 0, 0, 0, 1, 0);
    camera.update();
    expectVec("strafe", camera.strafe, {0, 0, 0});
    expectVec("eye", camera.position, {0, 5, 0});
    camera.lookWithMouse(410, 420);
    expectVec("eye", camera.position, {0, 5, 0});
    expectVec("view", camera.view, {0, 0, 0}, 1e-6f);
    glutMainLoopEvent();
}

TEST_F(CameraTest, SetupProjection) {
    KeyState keys;
    Camera camera(CameraVariant::Tilewalk, keys);
    glDisable(GL_DEPTH_TEST);
    glClearColor(0.3f, 0.3f, 0.3f, 1.0f);
    glMatrixMode(GL_PROJECTION);
    glTranslatef(1, 2, 3);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(1, 2, 3);
    camera.setupProjection();

    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    float clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(clear[0] + clear[1] + clear[2] + clear[3], 0.0f);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(m[i], i % 5 == 0 ? 1.0f : 0.0f) << i;

    // 45 degrees, aspect 1, near 0.5, far 150.
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    double f = 1.0 / std::tan(M_PI / 8);
    EXPECT_NEAR(m[0], f, 1e-5);
    EXPECT_NEAR(m[5], f, 1e-5);
    EXPECT_NEAR(m[10], (150.0 + 0.5) / (0.5 - 150.0), 1e-5);
    EXPECT_NEAR(m[14], 2 * 150.0 * 0.5 / (0.5 - 150.0), 1e-5);
    EXPECT_EQ(m[11], -1.0f);
    EXPECT_EQ(m[12] + m[13], 0.0f);
}

// End: lookaround and tilewalk end the process with status 0 at the next update.
TEST_F(CameraTest, EndEndsLookaroundAndTilewalk) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (CameraVariant variant : {CameraVariant::Lookaround, CameraVariant::Tilewalk}) {
        SCOPED_TRACE(variantName(variant));
        KeyState keys;
        keys.press(keyEnd);
        Camera camera(variant, keys);
        camera.setPose(0, 0.5f, 6, 0, 0.5f, 0, 0, 1, 0);
        EXPECT_EXIT(camera.update(), ::testing::ExitedWithCode(0), "");
    }
}

}  // namespace
