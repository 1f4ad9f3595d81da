// Texture: an uncompressed TGA image, its upload as the current 2D texture, and material values.
#pragma once

#include <GL/gl.h>

#include <cstddef>

class Texture {
public:
    int bytesPerPixel = 0;
    short imageWidth = 0;
    short imageHeight = 0;
    unsigned char* imageData = nullptr;
    float diffuse[4] = {1.0f, 0.81f, 0.7f, 1.0f};
    float shininess = 11.0f;

    void loadTga(const char* path);
    void upload(int textureName);
    GLenum pixelFormat() const;
    short width() const { return imageWidth; }
    short height() const { return imageHeight; }
    unsigned char* pixels() const { return imageData; }
    void applyMaterial();
    // Frees the pixel block (the programs never do; tests and fuzzing clean up with it).
    void releaseImage();
};

// Bytes of a width x height block of bytesPerPixel-byte pixels, formed without overflow;
// 0 when width or height is zero or negative (such an image gets no pixel block).
size_t tgaPixelBlockSize(int width, int height, int bytesPerPixel);
