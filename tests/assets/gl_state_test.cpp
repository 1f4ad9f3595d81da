// Light, material and texture upload, checked by reading the state back from the driver.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "assets/light.h"
#include "assets/texture.h"
#include "tests/assets/scratch_dir.h"
#include "tests/assets/tga_bytes.h"
#include "tests/support/gl_window.h"

namespace {

std::vector<float> four(const float* v) {
    return std::vector<float>(v, v + 4);
}

std::vector<float> lightValue(GLenum name) {
    float v[4] = {-9, -9, -9, -9};
    glGetLightfv(GL_LIGHT0, name, v);
    return four(v);
}

std::vector<float> materialValue(GLenum face, GLenum name) {
    float v[4] = {-9, -9, -9, -9};
    glGetMaterialfv(face, name, v);
    return four(v);
}

class AssetsGlState : public GlWindowTest {
protected:
    void SetUp() override {
        GlWindowTest::SetUp();
        if (!IsSkipped()) {
            resetState();
        }
    }

    // Undoes whatever an earlier test or case left behind.
    static void resetState() {
        glDisable(GL_LIGHTING);
        glDisable(GL_LIGHT0);
        glDisable(GL_TEXTURE_2D);
        glShadeModel(GL_FLAT);
        const float zero[4] = {0, 0, 0, 1};
        glLightfv(GL_LIGHT0, GL_AMBIENT, zero);
        glLightfv(GL_LIGHT0, GL_DIFFUSE, zero);
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, zero);
        glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 0.0f);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        while (glGetError() != GL_NO_ERROR) {
        }
    }
};

TEST_F(AssetsGlState, LightInitSetsColoursAndTurnsLightingOn) {
    struct LightCase {
        const char* name;
        float ambient[4], diffuse[4], position[4];
    };
    const LightCase cases[] = {
        {"gridroute", {1.0f, 0.8f, 0.8f, 1.0f}, {1.0f, 1.0f, 1.0f, 1.0f}, {4, 3, 1, 0}},
        {"tilewalk", {0.4f, 0.4f, 0.4f, 1.0f}, {0.6f, 0.6f, 0.6f, 1.0f}, {4, 3, 1, 0}},
    };
    for (const LightCase& c : cases) {
        SCOPED_TRACE(c.name);
        resetState();
        testing::internal::CaptureStdout();
        Light light(c.ambient, c.diffuse, c.position);
        std::fflush(stdout);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "the constructor prints nothing";
        EXPECT_FALSE(glIsEnabled(GL_LIGHTING)) << "the constructor makes no GL calls";

        testing::internal::CaptureStdout();
        light.init();
        std::fflush(stdout);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "initialising lighting lighting\n");
        EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
        EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
        GLint shadeModel = 0;
        glGetIntegerv(GL_SHADE_MODEL, &shadeModel);
        EXPECT_EQ(shadeModel, GL_SMOOTH);
        EXPECT_EQ(lightValue(GL_AMBIENT), four(c.ambient));
        EXPECT_EQ(lightValue(GL_DIFFUSE), four(c.diffuse));
        EXPECT_EQ(lightValue(GL_SPECULAR), (std::vector<float>{1, 1, 1, 1})) << "default specular";
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
}

TEST_F(AssetsGlState, LightPositionGoesThroughTheModelView) {
    Light light({0, 0, 0, 1}, {1, 1, 1, 1}, {4, 3, 1, 0});
    light.applyPosition();
    EXPECT_EQ(lightValue(GL_POSITION), (std::vector<float>{4, 3, 1, 0}));

    // A quarter turn about y takes the direction (4, 3, 1) to (1, 3, -4) in eye coordinates.
    glRotatef(90.0f, 0, 1, 0);
    light.applyPosition();
    std::vector<float> eye = lightValue(GL_POSITION);
    EXPECT_NEAR(eye[0], 1.0f, 1e-5f);
    EXPECT_NEAR(eye[1], 3.0f, 1e-5f);
    EXPECT_NEAR(eye[2], -4.0f, 1e-5f);
    EXPECT_EQ(eye[3], 0.0f);
    glLoadIdentity();
}

TEST_F(AssetsGlState, MaterialFrontAndBack) {
    Texture material;
    material.applyMaterial();
    for (GLenum face : {GLenum(GL_FRONT), GLenum(GL_BACK)}) {
        SCOPED_TRACE(face == GL_FRONT ? "front" : "back");
        EXPECT_EQ(materialValue(face, GL_DIFFUSE), (std::vector<float>{1.0f, 0.81f, 0.7f, 1.0f}));
        float shininess = -1;
        glGetMaterialfv(face, GL_SHININESS, &shininess);
        EXPECT_EQ(shininess, 11.0f);
        // Ambient, specular and emission keep OpenGL's defaults.
        EXPECT_EQ(materialValue(face, GL_AMBIENT), (std::vector<float>{0.2f, 0.2f, 0.2f, 1.0f}));
        EXPECT_EQ(materialValue(face, GL_SPECULAR), (std::vector<float>{0, 0, 0, 1}));
        EXPECT_EQ(materialValue(face, GL_EMISSION), (std::vector<float>{0, 0, 0, 1}));
    }
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
}

GLint texLevel(GLenum name) {
    GLint v = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, name, &v);
    return v;
}

GLint texParameter(GLenum name) {
    GLint v = -1;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &v);
    return v;
}

TEST_F(AssetsGlState, UploadGivesTheImageToTheDefaultTexture) {
    struct UploadCase {
        const char* name;
        std::string file;
        int width, height;
        GLint internalFormat;
        Bytes texels;  // read back in the image's own format, rows packed
    };
    const std::vector<UploadCase> cases = {
        // 9-byte rows: only a byte-aligned unpack reads the second row from the right place.
        {"24 bits, 3 pixels wide", tga(2, 3, 2, 24, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}),
         3, 2, GL_RGB, {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10, 15, 14, 13, 18, 17, 16}},
        {"32 bits", tga(2, 1, 2, 32, {10, 20, 30, 40, 50, 60, 70, 80}), 1, 2, GL_RGBA,
         {30, 20, 10, 40, 70, 60, 50, 80}},
        {"16 bits", tga(2, 3, 1, 16, {0xff, 0x7f, 0x00, 0x7c, 0x1f, 0x00}), 3, 1, GL_RGB,
         {248, 248, 248, 248, 0, 0, 0, 0, 248}},
        {"run-length encoded: size only", tga(10, 3, 2, 24, {}), 3, 2, GL_RGB, {}},
    };
    ScratchDir dir;
    for (const UploadCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = dir.write("image.tga", c.file);
        Texture texture;
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        testing::internal::CaptureStdout();
        texture.loadTga(path.c_str());
        std::fflush(stdout);
        testing::internal::GetCapturedStdout();
        GLint alignment = 0;
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
        EXPECT_EQ(alignment, 1);

        int bytesPerPixel = texture.bytesPerPixel;
        texture.upload(0);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        EXPECT_EQ(texture.bytesPerPixel, bytesPerPixel) << "upload changes no field";
        GLint bound = -1;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(bound, 0);
        EXPECT_EQ(texLevel(GL_TEXTURE_WIDTH), c.width);
        EXPECT_EQ(texLevel(GL_TEXTURE_HEIGHT), c.height);
        EXPECT_EQ(texLevel(GL_TEXTURE_INTERNAL_FORMAT), c.internalFormat);
        EXPECT_EQ(texParameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
        EXPECT_EQ(texParameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
        EXPECT_EQ(texParameter(GL_TEXTURE_MIN_FILTER), GL_NEAREST);
        EXPECT_EQ(texParameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
        if (!c.texels.empty()) {
            std::vector<unsigned char> back(c.texels.size() + 8, 0xee);
            glPixelStorei(GL_PACK_ALIGNMENT, 1);
            glGetTexImage(GL_TEXTURE_2D, 0, texture.pixelFormat(), GL_UNSIGNED_BYTE, back.data());
            EXPECT_EQ(Bytes(back.begin(), back.begin() + long(c.texels.size())), c.texels);
        }
        texture.releaseImage();
    }
}

TEST_F(AssetsGlState, MissingImageUploadsAnEmptyTexture) {
    ScratchDir dir;
    Texture texture;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    testing::internal::CaptureStdout();
    texture.loadTga((dir.path + "/none.tga").c_str());
    std::fflush(stdout);
    testing::internal::GetCapturedStdout();
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 1) << "set before the file is opened";
    texture.upload(0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_EQ(texLevel(GL_TEXTURE_WIDTH), 0);
    EXPECT_EQ(texLevel(GL_TEXTURE_HEIGHT), 0);
}

}  // namespace
