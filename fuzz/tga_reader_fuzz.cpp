// The TGA reader on arbitrary bytes: whatever it accepts, the pixel block must hold
// width x height x bytesPerPixel initialised bytes.
#include <cstddef>
#include <cstdint>

#include "assets/texture.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silenceStdout();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* path = writeScratchFile(data, size);
    if (path == nullptr) {
        return 0;
    }
    Texture texture;
    texture.loadTga(path);
    unsigned sum = 0;
    if (texture.imageData != nullptr) {
        size_t bytes = size_t(texture.imageWidth) * size_t(texture.imageHeight) * size_t(texture.bytesPerPixel);
        // Touch the start of the block and its very last byte: a block smaller than the image
        // it claims to hold shows up at once, without walking gigabytes of a huge header's block.
        size_t head = bytes < 65536 ? bytes : 65536;
        for (size_t i = 0; i < head; ++i) {
            sum += texture.imageData[i];
        }
        if (bytes > 0) {
            sum += texture.imageData[bytes - 1];
        }
    }
    texture.releaseImage();
    return sum == 0xdeadbeefu ? 1 : 0;
}
