// objLoader: reads the triangulated OBJ subset of the maze files into an ObjModel.
#pragma once

#include <cstdio>
#include <vector>

#include "assets/obj_model.h"

class objLoader {
public:
    FILE* file = nullptr;
    std::vector<Vector3> vertices;
    std::vector<Vector3> normals;
    std::vector<ObjFace> faces;
    std::vector<Vector2> texCoords;
    bool lastLineWasFace = false;
    int frames = 1;
    int faceCount = 0;
    int vertexCount = 0;
    int texCoordCount = 0;
    int normalCount = 0;
    int totalFaceCount = 0;

    bool import(ObjModel& model, const char* fileName);

    void readLines();
    void readFace();
    void readVertexLine();
    void fillModel(ObjModel& model);
};
