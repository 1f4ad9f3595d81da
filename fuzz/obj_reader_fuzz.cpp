// The OBJ reader on arbitrary bytes; every face the model keeps is checked with faceIsUsable
// before its indices are followed, as the model's readers do.
#include <cstddef>
#include <cstdint>

#include "assets/obj_loader.h"
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
    objLoader loader;
    ObjModel model;
    loader.import(model, path);
    float sum = 0.0f;
    for (int f = 0; f < model.totalFaceCount; ++f) {
        if (!faceIsUsable(model, f, true)) {
            continue;
        }
        for (int k = 0; k < 3; ++k) {
            sum += model.vertices[model.faces[f].vertexIndex[k]].x;
            sum += model.normals[model.faces[f].normalIndex[k]].y;
        }
    }
    if (loader.file != nullptr) {
        std::fclose(loader.file);
    }
    delete[] model.vertices;
    delete[] model.texCoords;
    delete[] model.normals;
    delete[] model.faces;
    return sum == 12345.0f ? 1 : 0;
}
