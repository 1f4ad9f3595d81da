#include "assets/obj_model.h"

bool faceIsUsable(const ObjModel& model, int f, bool withNormals) {
    if (f < 0 || f >= model.faceArrayLength) {
        return false;
    }
    const ObjFace& face = model.faces[f];
    for (int k = 0; k < 3; ++k) {
        if (face.vertexIndex[k] < 0 || face.vertexIndex[k] >= model.vertexArrayLength) {
            return false;
        }
        if (withNormals && (face.normalIndex[k] < 0 || face.normalIndex[k] >= model.normalArrayLength)) {
            return false;
        }
    }
    return true;
}
