// ObjModel and ObjFace: a loaded triangulated model as plain arrays.
#pragma once

#include "core/vector.h"

class ObjFace {
public:
    int vertexIndex[3] = {0, 0, 0};
    int texCoordIndex[3] = {0, 0, 0};
    int normalIndex[3] = {0, 0, 0};
};

class ObjModel {
public:
    int totalFaceCount = 0;
    int frameCount = 0;
    int vertexCount = 0;
    int texCoordCount = 0;
    int normalCount = 0;
    int faceCount = 0;
    Vector3* vertices = nullptr;
    Vector2* texCoords = nullptr;
    Vector3* normals = nullptr;
    ObjFace* faces = nullptr;
    // Lengths of the four arrays above (all frames); readers check face indices against them.
    int vertexArrayLength = 0;
    int texCoordArrayLength = 0;
    int normalArrayLength = 0;
    int faceArrayLength = 0;
};

// True when every vertex index of face f lies inside the model's vertex array and, when
// withNormals is set, every normal index inside the normal array.
bool faceIsUsable(const ObjModel& model, int f, bool withNormals);
