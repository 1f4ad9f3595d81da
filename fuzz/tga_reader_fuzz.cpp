// The TGA reader on arbitrary bytes: whatever it accepts, the pixel block must hold
// width x height x bytesPerPixel initialised bytes.
//
// Headers that claim more than kMaxFuzzedPixels pixels are passed over: every second random
// header claims hundreds of millions, and allocating and freeing such a block under
// AddressSanitizer takes a second, which would leave the fuzzer a few dozen runs per second.
// The reader's handling of huge headers is covered by its unit tests and by the programs'
// bad-input table, which runs the real programs on such files in the sanitizer build.
#include <cstddef>
#include <cstdint>

#include "assets/texture.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silenceStdout();
    return 0;
}

#ifndef VIEWERS_FUZZ_REPLAY  // a kept regression input always goes through
namespace {

const long kMaxFuzzedPixels = 1L << 22;

// Width x height as the reader takes them: signed 16-bit words at offsets 12 and 14.
long claimedPixels(const uint8_t* data, size_t size) {
    if (size < 16) {
        return 0;
    }
    long width = int16_t(uint16_t(data[12] | (data[13] << 8)));
    long height = int16_t(uint16_t(data[14] | (data[15] << 8)));
    return width > 0 && height > 0 ? width * height : 0;
}

}  // namespace
#endif

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
#ifndef VIEWERS_FUZZ_REPLAY
    if (claimedPixels(data, size) > kMaxFuzzedPixels) {
        return 0;
    }
#endif
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
