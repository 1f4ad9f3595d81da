// Texture: an uncompressed TGA image, its upload as the current 2D texture, and material values.
#pragma once

#include <GL/gl.h>

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
};
