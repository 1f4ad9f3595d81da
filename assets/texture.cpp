#include "assets/texture.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// One byte from the file, or 0 when the file has none left.
unsigned char readByte(FILE* file) {
    int ch = std::fgetc(file);
    return ch == EOF ? 0 : static_cast<unsigned char>(ch);
}

// A little-endian 16-bit word; missing bytes read as 0.
unsigned readWord(FILE* file) {
    unsigned low = readByte(file);
    unsigned high = readByte(file);
    return low | (high << 8);
}

}  // namespace

size_t tgaPixelBlockSize(int width, int height, int bytesPerPixel) {
    if (width <= 0 || height <= 0 || bytesPerPixel <= 0) {
        return 0;
    }
    return size_t(width) * size_t(height) * size_t(bytesPerPixel);
}

// Uncompressed true-colour TGA. The ID field, the colour map and the image descriptor are not
// looked at: pixel data is taken from byte 18 on, rows in the order they come.
void Texture::loadTga(const char* path) {
    std::printf("loading %s   ", path != nullptr ? path : "");
    // Rows of every later upload are byte-aligned (a 3-pixel RGB row is 9 bytes).
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);

    FILE* file = path != nullptr ? std::fopen(path, "rb") : nullptr;
    if (file == nullptr) {
        std::printf("file not found\n");
        return;
    }

    std::fseek(file, 2, SEEK_SET);
    unsigned char imageType = readByte(file);
    std::fseek(file, 9, SEEK_CUR);
    imageWidth = static_cast<short>(readWord(file));
    imageHeight = static_cast<short>(readWord(file));
    unsigned char bits = readByte(file);
    std::fseek(file, 1, SEEK_CUR);

    if (imageType == 10) {
        // Run-length encoded: refused, the image keeps its size and gets no pixels.
    } else if (bits == 24 || bits == 32) {
        bytesPerPixel = bits / 8;
        size_t size = tgaPixelBlockSize(imageWidth, imageHeight, bytesPerPixel);
        if (size > 0) {
            // Zero-filled, so a file shorter than its header claims leaves zeros, not garbage.
            // calloc hands out fresh zero pages for a large block without touching them, so a
            // tiny file whose header claims a huge image costs address space, not memory.
            imageData = static_cast<unsigned char*>(std::calloc(size, 1));
            if (imageData == nullptr) {
                std::printf("not enough memory for the image\n");
                std::fclose(file);
                std::printf("complete\n");
                return;
            }
            size_t got = std::fread(imageData, 1, size, file);
            // Blue-green-red(-alpha) to red-green-blue(-alpha), up to the last pixel the file
            // reached (a partly read pixel is swapped too); the zeros after it need no swap.
            for (size_t i = 0; i < got; i += size_t(bytesPerPixel)) {
                unsigned char blue = imageData[i];
                imageData[i] = imageData[i + 2];
                imageData[i + 2] = blue;
            }
        }
    } else if (bits == 16) {
        bytesPerPixel = 3;
        size_t size = tgaPixelBlockSize(imageWidth, imageHeight, bytesPerPixel);
        if (size > 0) {
            imageData = static_cast<unsigned char*>(std::calloc(size, 1));
            if (imageData == nullptr) {
                std::printf("not enough memory for the image\n");
                size = 0;
            }
            // Five bits per channel, x-red-green-blue from the top; the top bit is ignored.
            for (size_t i = 0; i < size; i += 3) {
                int low = std::fgetc(file);
                int high = std::fgetc(file);
                if (low == EOF || high == EOF) {
                    break;  // the rest of the block stays zero
                }
                unsigned w = unsigned(low) | (unsigned(high) << 8);
                imageData[i] = static_cast<unsigned char>(((w >> 10) & 31) << 3);
                imageData[i + 1] = static_cast<unsigned char>(((w >> 5) & 31) << 3);
                imageData[i + 2] = static_cast<unsigned char>((w & 31) << 3);
            }
        }
    } else {
        std::printf("not bit support for file\n");
    }

    std::fclose(file);
    std::printf("complete\n");
}

// Binds textureName as the current 2D texture and gives it the image: repeat in both directions,
// nearest-texel minification, OpenGL's default magnification, no mipmaps. The first row of
// imageData becomes texture row t = 0.
void Texture::upload(int textureName) {
    glBindTexture(GL_TEXTURE_2D, GLuint(textureName));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GLint(pixelFormat()), imageWidth, imageHeight, 0, pixelFormat(),
                 GL_UNSIGNED_BYTE, imageData);
}

void Texture::releaseImage() {
    std::free(imageData);
    imageData = nullptr;
}

GLenum Texture::pixelFormat() const {
    return bytesPerPixel == 4 ? GL_RGBA : GL_RGB;
}

// The material for front and back faces; ambient, specular and emission keep OpenGL's defaults.
void Texture::applyMaterial() {
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SHININESS, &shininess);
}
