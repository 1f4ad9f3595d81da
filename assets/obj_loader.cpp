#include "assets/obj_loader.h"

#include <climits>
#include <iostream>

namespace {

// The unread rest of a line goes here; one read takes at most 99 characters, so a longer
// remainder is met by the line loop as if it began a line of its own.
char garbageStr[255];

void skipRestOfLine(FILE* file) {
    if (std::fgets(garbageStr, 100, file) == nullptr) {
        garbageStr[0] = '\0';
    }
}

// A 1-based file index made 0-based. The smallest int has no predecessor: it stays as it is,
// negative either way, so its face is not usable.
int zeroBased(int index) {
    return index == INT_MIN ? index : index - 1;
}

template <typename T>
T* copyOut(const std::vector<T>& from) {
    T* to = new T[from.size()];
    for (size_t i = 0; i < from.size(); ++i) {
        to[i] = from[i];
    }
    return to;
}

}  // namespace

bool objLoader::import(ObjModel& model, const char* fileName) {
    if (fileName == nullptr) {
        std::cout << "error objLoader.import() no filename passed in!" << std::endl;
        return false;
    }
    file = std::fopen(fileName, "r");
    if (file == nullptr) {
        std::cout << "error objLoader.import() no file of that name!" << std::endl;
        return false;
    }

    readLines();
    std::fclose(file);
    file = nullptr;

    if (frames == 1) {
        faceCount = int(faces.size());
        vertexCount = int(vertices.size());
        texCoordCount = int(texCoords.size());
        normalCount = int(normals.size());
    }
    fillModel(model);

    std::cout << "frames: " << frames << std::endl;
    std::cout << "faces: " << faceCount << std::endl;
    std::cout << "vertexs: " << vertexCount << std::endl;
    std::cout << "UVs: " << texCoordCount << std::endl;
    std::cout << "normals: " << normalCount << std::endl;
    std::cout << "total faces:" << totalFaceCount << std::endl;
    return true;
}

// A keyword counts only in the first column. A frame is a block of vertex data followed by
// faces: a v line after a face line opens the next one. While the second frame is being read
// the first-frame counts follow every v line, so they end up as the lengths at the second
// block's last vertex line; from the third frame on they stay as they are.
// A read error (the name is a directory, say) ends the reading as the end of the file does;
// its error flag is not the end-of-file flag, and the loop would never stop.
void objLoader::readLines() {
    while (!std::feof(file) && !std::ferror(file)) {
        int ch = std::fgetc(file);
        if (ch == 'f') {
            readFace();
            lastLineWasFace = true;
        } else if (ch == 'v') {
            readVertexLine();
            if (lastLineWasFace) {
                ++frames;
            }
            if (frames == 2) {
                faceCount = int(faces.size());
                vertexCount = int(vertices.size());
                texCoordCount = int(texCoords.size());
                normalCount = int(normals.size());
            }
            lastLineWasFace = false;
        } else if (ch == '\n') {
            // An empty line: the next character begins the next line.
        } else {
            // Comments, groups, objects, smoothing groups, materials, lines starting with a
            // blank or tab, and the end of the file.
            skipRestOfLine(file);
        }
    }
}

// Corners must be vertex/texture/normal triples. The scan skips white space, line ends
// included, so a face with fewer than three corners runs on into the next line, which is
// then dropped as the rest of this one. Slots the scan did not reach end up as -1.
void objLoader::readFace() {
    ++totalFaceCount;
    ObjFace newFace;
    int filled = std::fscanf(file, "%d/%d/%d %d/%d/%d %d/%d/%d",
                &newFace.vertexIndex[0], &newFace.texCoordIndex[0], &newFace.normalIndex[0],
                &newFace.vertexIndex[1], &newFace.texCoordIndex[1], &newFace.normalIndex[1],
                &newFace.vertexIndex[2], &newFace.texCoordIndex[2], &newFace.normalIndex[2]);
    (void)filled;  // a short scan is kept as it is
    for (int k = 0; k < 3; ++k) {
        newFace.vertexIndex[k] = zeroBased(newFace.vertexIndex[k]);
        newFace.texCoordIndex[k] = zeroBased(newFace.texCoordIndex[k]);
        newFace.normalIndex[k] = zeroBased(newFace.normalIndex[k]);
    }
    skipRestOfLine(file);  // a fourth corner or trailing text
    faces.push_back(newFace);
}

// After the v: a blank starts a position, t a texture coordinate, n a normal. Numbers a line
// does not supply stay 0.
void objLoader::readVertexLine() {
    int ch = std::fgetc(file);
    if (ch == ' ') {
        Vector3 newVertex3d;
        int filled = std::fscanf(file, "%f %f %f", &newVertex3d.x, &newVertex3d.y, &newVertex3d.z);
        (void)filled;
        vertices.push_back(newVertex3d);
        skipRestOfLine(file);
    } else if (ch == 't') {
        Vector2 newTexCoord2d;
        int filled = std::fscanf(file, "%f %f", &newTexCoord2d.u, &newTexCoord2d.v);
        (void)filled;
        texCoords.push_back(newTexCoord2d);
        skipRestOfLine(file);  // a third coordinate is dropped
    } else if (ch == 'n') {
        Vector3 newNormal3d;
        int filled = std::fscanf(file, "%f %f %f", &newNormal3d.x, &newNormal3d.y, &newNormal3d.z);
        (void)filled;
        skipRestOfLine(file);
        normals.push_back(newNormal3d);
    } else if (ch == '\n' || ch == EOF) {
        // A lone v: the line has already ended, so nothing of the next line is dropped.
    } else {
        skipRestOfLine(file);  // parameter-space vertices, a tab after the v, ...
    }
}

void objLoader::fillModel(ObjModel& model) {
    model.vertexCount = int(vertices.size());
    model.texCoordCount = int(texCoords.size());
    model.normalCount = int(normals.size());
    model.faceCount = int(faces.size());
    model.totalFaceCount = totalFaceCount;

    model.vertices = copyOut(vertices);
    model.texCoords = copyOut(texCoords);
    model.normals = copyOut(normals);
    model.faces = copyOut(faces);
    model.vertexArrayLength = int(vertices.size());
    model.texCoordArrayLength = int(texCoords.size());
    model.normalArrayLength = int(normals.size());
    model.faceArrayLength = int(faces.size());

    model.faceCount = faceCount;
    model.vertexCount = vertexCount;
    model.texCoordCount = texCoordCount;
    model.normalCount = normalCount;
    model.frameCount = frames;

    std::vector<Vector3>().swap(vertices);
    std::vector<Vector3>().swap(normals);
    std::vector<ObjFace>().swap(faces);
    std::vector<Vector2>().swap(texCoords);
}
