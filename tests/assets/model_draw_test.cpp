// drawModel into the back buffer, read back with glReadPixels.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "assets/light.h"
#include "assets/model_draw.h"
#include "assets/obj_loader.h"
#include "assets/texture.h"
#include "tests/assets/scratch_dir.h"
#include "tests/support/gl_window.h"

namespace {

// Three triangles on the z = 0 plane of a -1..1 square:
// lower left (first frame, normal towards the viewer), lower right (second frame, normal
// away from the viewer), upper left (its normal index points past the normals: never drawn),
// and faces whose indices are -1 or beyond the vertices.
const char* const modelText =
    "v -0.9 -0.9 0\nv -0.1 -0.9 0\nv -0.9 -0.1 0\n"
    "vt 0 0\nvn 0 0 1\nvn 0 0 -1\n"
    "f 1/1/1 2/1/1 3/1/1\n"
    "# second block\n"
    "v 0.1 -0.9 0\nv 0.9 -0.9 0\nv 0.1 -0.1 0\n"
    "v -0.9 0.1 0\nv -0.1 0.1 0\nv -0.9 0.9 0\n"
    "f 4/1/2 5/1/2 6/1/2\n"
    "f 7/1/1 8/1/1 9/1/3\n"
    "f 7//1 8//1 9//1\n"
    "f 7/1/1 8/1/1 10/1/1\n";

// Window pixels inside each triangle (the window is 800 x 800 over -1..1).
const int lowerLeft[2] = {120, 120};
const int lowerRight[2] = {520, 120};
const int upperLeft[2] = {120, 520};

class ModelDraw : public GlWindowTest {
protected:
    void SetUp() override {
        GlWindowTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        ScratchDir dir;
        std::string path = dir.write("maze.obj", modelText);
        objLoader loader;
        testing::internal::CaptureStdout();
        loader.import(model, path.c_str());
        std::fflush(stdout);
        testing::internal::GetCapturedStdout();
        ASSERT_EQ(model.frameCount, 2);
        ASSERT_EQ(model.totalFaceCount, 5);

        glViewport(0, 0, 800, 800);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-1, 1, -1, 1, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glClearColor(0.0f, 0.0f, 0.5f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    void TearDown() override {
        delete[] model.vertices;
        delete[] model.texCoords;
        delete[] model.normals;
        delete[] model.faces;
    }

    // A 1 x 1 texture of one colour becomes the default texture object's image.
    static void uploadTexel(unsigned char r, unsigned char g, unsigned char b) {
        unsigned char texel[3] = {r, g, b};
        Texture texture;
        texture.bytesPerPixel = 3;
        texture.imageWidth = 1;
        texture.imageHeight = 1;
        texture.imageData = texel;
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        texture.upload(0);
    }

    ObjModel model;
};

void expectPixel(const int (&at)[2], int r, int g, int b, int tolerance = 1) {
    Rgb p = readBackPixel(at[0], at[1]);
    EXPECT_LE(std::abs(p.r - r), tolerance) << "red " << p.r << " at " << at[0] << "," << at[1];
    EXPECT_LE(std::abs(p.g - g), tolerance) << "green " << p.g << " at " << at[0] << "," << at[1];
    EXPECT_LE(std::abs(p.b - b), tolerance) << "blue " << p.b << " at " << at[0] << "," << at[1];
}

// Unlit: each fragment is the vertex colour times the texel at (0, 0), so the texture must be on
// during the batch. Both frames are drawn; the unusable faces are left out.
TEST_F(ModelDraw, AllFramesTexturedAndUnusableFacesLeftOut) {
    uploadTexel(255, 128, 64);
    glEnable(GL_TEXTURE_2D);
    drawModel(model, Vector3(1, 1, 1));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D)) << "texturing is left off";
    float colour[4] = {0, 0, 0, 0};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[0], 1.0f);
    EXPECT_EQ(colour[1], 1.0f);
    EXPECT_EQ(colour[2], 1.0f);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    expectPixel(lowerLeft, 255, 128, 64);
    expectPixel(lowerRight, 255, 128, 64);
    expectPixel(upperLeft, 0, 0, 128);
}

// Lit the way the maze viewers light it: the file's normals decide the brightness, and the
// vertex colour (black in gridroute) does not reach the lit colour.
TEST_F(ModelDraw, LitWithTheFileNormals) {
    uploadTexel(255, 255, 255);
    Light light({0, 0, 0, 1}, {1, 1, 1, 1}, {0, 0, 1, 0});
    testing::internal::CaptureStdout();
    light.init();
    std::fflush(stdout);
    testing::internal::GetCapturedStdout();
    light.applyPosition();
    Texture material;
    material.applyMaterial();

    drawModel(model, Vector3(0, 0, 0));
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT0);

    // Facing the light: global ambient 0.2 x material ambient 0.2, plus the diffuse material.
    expectPixel(lowerLeft, 255, int(0.85 * 255 + 0.5), int(0.74 * 255 + 0.5), 2);
    // Facing away: the global ambient term only.
    expectPixel(lowerRight, 10, 10, 10, 2);
    expectPixel(upperLeft, 0, 0, 128);
}

TEST_F(ModelDraw, EmptyModelDrawsNothing) {
    ObjModel empty;
    glEnable(GL_TEXTURE_2D);
    drawModel(empty, Vector3(1, 1, 1));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    expectPixel(lowerLeft, 0, 0, 128);
}

}  // namespace
