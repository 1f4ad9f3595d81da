#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "assets/texture.h"
#include "tests/assets/scratch_dir.h"
#include "tests/assets/tga_bytes.h"

namespace {

struct LoadResult {
    std::string console;
    int bytesPerPixel;
    int width, height;
    bool hasPixels;
    Bytes pixels;  // width x height x bytesPerPixel bytes when hasPixels
};

LoadResult load(const char* path) {
    Texture texture;
    testing::internal::CaptureStdout();
    texture.loadTga(path);
    std::fflush(stdout);
    LoadResult r{testing::internal::GetCapturedStdout(), texture.bytesPerPixel, texture.imageWidth,
                 texture.imageHeight, texture.imageData != nullptr, {}};
    if (r.hasPixels) {
        size_t n = tgaPixelBlockSize(r.width, r.height, r.bytesPerPixel);
        r.pixels.assign(texture.imageData, texture.imageData + n);
    }
    EXPECT_EQ(texture.diffuse[1], 0.81f) << "loading leaves the material alone";
    texture.releaseImage();
    return r;
}

struct TgaCase {
    const char* name;
    std::string file;
    std::string consoleAfterPath;
    int bytesPerPixel, width, height;
    bool hasPixels;
    Bytes pixels;
};

const std::vector<TgaCase> tgaCases = {
    {"24 bits: blue-green-red becomes red-green-blue", tga(2, 2, 1, 24, {1, 2, 3, 4, 5, 6}),
     "complete\n", 3, 2, 1, true, {3, 2, 1, 6, 5, 4}},
    {"32 bits: alpha stays fourth", tga(2, 1, 2, 32, {10, 20, 30, 40, 50, 60, 70, 80}),
     "complete\n", 4, 1, 2, true, {30, 20, 10, 40, 70, 60, 50, 80}},
    {"16 bits: five bits per channel, top bit ignored",
     tga(2, 4, 1, 16, {0xff, 0x7f, 0x00, 0x7c, 0x1f, 0x00, 0xe0, 0x83}), "complete\n", 3, 4, 1, true,
     {248, 248, 248, 248, 0, 0, 0, 0, 248, 0, 248, 0}},
    {"rows are not flipped whatever the descriptor says",
     tga(2, 1, 2, 24, {1, 1, 1, 2, 2, 2}, 0, 0x20), "complete\n", 3, 1, 2, true, {1, 1, 1, 2, 2, 2}},
    {"ID bytes are taken as pixel data", tga(2, 1, 1, 24, {9, 1, 2, 3}, 1), "complete\n", 3, 1, 1,
     true, {2, 1, 9}},
    {"run-length encoded image refused", tga(10, 3, 2, 24, {1, 2, 3}), "complete\n", 0, 3, 2, false, {}},
    {"unsupported depth", tga(2, 2, 2, 8, {1, 2, 3, 4}), "not bit support for file\ncomplete\n", 0, 2,
     2, false, {}},
    {"file ends inside the header", std::string("\0\0\2\0\0", 5), "not bit support for file\ncomplete\n",
     0, 0, 0, false, {}},
    {"empty file", "", "not bit support for file\ncomplete\n", 0, 0, 0, false, {}},
    {"24 bits, file shorter than its header: the rest is zero", tga(2, 2, 2, 24, {1, 2, 3, 4}),
     "complete\n", 3, 2, 2, true, {3, 2, 1, 0, 0, 4, 0, 0, 0, 0, 0, 0}},
    {"32 bits, no pixel data at all", tga(2, 1, 1, 32, {}), "complete\n", 4, 1, 1, true, {0, 0, 0, 0}},
    {"16 bits, file ends inside a word: the rest is zero", tga(2, 3, 1, 16, {0x1f, 0x00, 0xff}),
     "complete\n", 3, 3, 1, true, {0, 0, 248, 0, 0, 0, 0, 0, 0}},
    {"zero width gives no pixel block", tga(2, 0, 5, 24, {1, 2, 3}), "complete\n", 3, 0, 5, false, {}},
    {"zero height, 16 bits", tga(2, 5, 0, 16, {1, 2}), "complete\n", 3, 5, 0, false, {}},
    {"negative height gives no pixel block", tga(2, 2, 0xffff, 32, {1, 2, 3, 4}), "complete\n", 4, 2,
     -1, false, {}},
    {"width over 32767 reads as negative", tga(2, 0x8000, 1, 24, {1, 2, 3}), "complete\n", 3, -32768,
     1, false, {}},
};

TEST(TgaLoad, FieldsPixelsAndConsole) {
    ScratchDir dir;
    for (const TgaCase& c : tgaCases) {
        SCOPED_TRACE(c.name);
        std::string path = dir.write("image.tga", c.file);
        LoadResult r = load(path.c_str());
        EXPECT_EQ(r.console, "loading " + path + "   " + c.consoleAfterPath);
        EXPECT_EQ(r.bytesPerPixel, c.bytesPerPixel);
        EXPECT_EQ(r.width, c.width);
        EXPECT_EQ(r.height, c.height);
        EXPECT_EQ(r.hasPixels, c.hasPixels);
        EXPECT_EQ(r.pixels, c.pixels);
    }
}

TEST(TgaLoad, MissingFileLeavesTheImageEmpty) {
    ScratchDir dir;
    std::string path = dir.path + "/nothing.tga";
    LoadResult r = load(path.c_str());
    EXPECT_EQ(r.console, "loading " + path + "   file not found\n");
    EXPECT_EQ(r.bytesPerPixel, 0);
    EXPECT_EQ(r.width, 0);
    EXPECT_EQ(r.height, 0);
    EXPECT_FALSE(r.hasPixels);
}

TEST(TgaLoad, PixelFormatFollowsBytesPerPixel) {
    Texture texture;
    EXPECT_EQ(texture.pixelFormat(), GLenum(GL_RGB));
    texture.bytesPerPixel = 4;
    EXPECT_EQ(texture.pixelFormat(), GLenum(GL_RGBA));
    texture.bytesPerPixel = 3;
    EXPECT_EQ(texture.pixelFormat(), GLenum(GL_RGB));
}

TEST(TgaLoad, BlockSizeDoesNotOverflow) {
    EXPECT_EQ(tgaPixelBlockSize(32767, 32767, 4), size_t(4294705156ull));
    EXPECT_EQ(tgaPixelBlockSize(32767, 32767, 3), size_t(3221028867ull));
    EXPECT_EQ(tgaPixelBlockSize(3, 2, 3), size_t(18));
    EXPECT_EQ(tgaPixelBlockSize(-1, 5, 3), size_t(0));
    EXPECT_EQ(tgaPixelBlockSize(-32768, -32768, 4), size_t(0));
    EXPECT_EQ(tgaPixelBlockSize(4, 0, 4), size_t(0));
}

}  // namespace
