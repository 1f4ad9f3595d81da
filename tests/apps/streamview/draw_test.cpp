#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

#include "apps/streamview/flow_field.h"
#include "apps/streamview/particle_system.h"
#include "tests/apps/streamview/field_fixture.h"
#include "tests/support/gl_window.h"

namespace {

// Looks straight down on the ground: the square from (cx - half, cz - half) to
// (cx + half, cz + half) fills the window, x to the right.
class StreamviewDrawTest : public GlWindowTest {
protected:
    void lookDownAt(float cx, float cz, float half) {
        glViewport(0, 0, 800, 800);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_LIGHTING);
        glShadeModel(GL_SMOOTH);
        glLineWidth(3.0f);  // a thick line is hit reliably when reading single pixels
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(cx - half, cx + half, -cz - half, -cz + half, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glRotatef(90.0f, 1.0f, 0.0f, 0.0f);  // (x, y, z) -> (x, -z, y)
    }
    void TearDown() override { glLineWidth(1.0f); }

    // The back-buffer pixel under a point of the scene.
    static Rgb pixelAt(float x, float y, float z) {
        double model[16];
        double projection[16];
        int viewport[4];
        glGetDoublev(GL_MODELVIEW_MATRIX, model);
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetIntegerv(GL_VIEWPORT, viewport);
        double wx = 0;
        double wy = 0;
        double wz = 0;
        gluProject(x, y, z, model, projection, viewport, &wx, &wy, &wz);
        return readBackPixel(int(std::floor(wx)), int(std::floor(wy)));
    }

    static void expectColour(Rgb got, double r, double g, double b) {
        EXPECT_NEAR(got.r, r * 255, 8) << "red";
        EXPECT_NEAR(got.g, g * 255, 8) << "green";
        EXPECT_NEAR(got.b, b * 255, 8) << "blue";
    }

    static void expectCurrentColourGrey() {
        float colour[4] = {0, 0, 0, 0};
        glGetFloatv(GL_CURRENT_COLOR, colour);
        EXPECT_FLOAT_EQ(colour[0], 0.4f);
        EXPECT_FLOAT_EQ(colour[1], 0.4f);
        EXPECT_FLOAT_EQ(colour[2], 0.4f);
    }
};

// Arrows along +x (red 128) fade from dark blue at the cell centre to light blue at the tip.
TEST_F(StreamviewDrawTest, ArrowsFadeFromDarkBlueToLightBlue) {
    FlowField field;
    ReleaseCells releaseField(field);
    buildUniform(field, 32, 32, 128);
    const FlowCell& cell = field.cells[528];
    const float x = cell.position.x;
    const float z = cell.position.z;
    lookDownAt(x + 0.05f, z, 0.1f);  // one arrow spans 400 pixels
    glColor3f(1, 0, 0);
    field.draw();

    // Points a fraction t along the arrow (it points slightly off +x).
    auto along = [&](float t) { return pixelAt(x + t * cell.direction.x, 0, z + t * cell.direction.z); };
    expectColour(along(0.02f), 0.1, 0.1, 0.4);
    expectColour(along(0.5f), 0.35, 0.4, 0.7);
    expectColour(along(0.98f), 0.6, 0.7, 1.0);
    expectColour(pixelAt(x + 0.05f, 0, z + 0.02f), 0, 0, 0);  // beside the arrow
    expectColour(pixelAt(x - 0.02f, 0, z), 0, 0, 0);          // behind its base
    expectCurrentColourGrey();
}

// A particle is a white point 8 pixels wide with a tail one velocity long, grey at the particle
// and white at its end.
TEST_F(StreamviewDrawTest, ParticleIsAWhitePointWithAGreyToWhiteTail) {
    ParticleSystem system;
    Particle p;
    p.position = Vector3(0.0f, 0.2f, 0.0f);
    p.velocity = Vector3(0.1f, 0.0f, 0.0f);
    system.particles.push_back(p);
    lookDownAt(0.05f, 0.0f, 0.1f);  // 4000 pixels per unit
    glColor3f(1, 0, 0);
    glPointSize(1.0f);
    system.draw();

    float pointSize = 0;
    glGetFloatv(GL_POINT_SIZE, &pointSize);
    EXPECT_EQ(pointSize, 8.0f);
    expectColour(pixelAt(0, 0.2f, 0), 1, 1, 1);
    expectColour(pixelAt(0, 0.2f, 0.0008f), 1, 1, 1);   // 3 pixels off the centre: inside the point
    expectColour(pixelAt(0, 0.2f, 0.0015f), 0, 0, 0);   // 6 pixels off: outside
    expectColour(pixelAt(0.02f, 0.2f, 0), 0.6, 0.6, 0.6);  // a fifth along the tail
    expectColour(pixelAt(0.098f, 0.2f, 0), 1, 1, 1);
    expectColour(pixelAt(0.105f, 0.2f, 0), 0, 0, 0);    // past the tail's end
    expectCurrentColourGrey();
}

}  // namespace
