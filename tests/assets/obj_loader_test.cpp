#include <gtest/gtest.h>

#include <climits>

#include <string>
#include <vector>

#include "assets/obj_loader.h"
#include "tests/assets/scratch_dir.h"

namespace {

// The model's arrays are never released by the programs; tests give them back.
void releaseModel(ObjModel& model) {
    delete[] model.vertices;
    delete[] model.texCoords;
    delete[] model.normals;
    delete[] model.faces;
    model = ObjModel();
}

std::string summary(int frames, int faces, int vertexs, int uvs, int normals, int total) {
    return "frames: " + std::to_string(frames) + "\nfaces: " + std::to_string(faces) +
           "\nvertexs: " + std::to_string(vertexs) + "\nUVs: " + std::to_string(uvs) +
           "\nnormals: " + std::to_string(normals) + "\ntotal faces:" + std::to_string(total) + "\n";
}

// Loads text from a scratch file; returns what the loader printed.
std::string importText(const std::string& text, ObjModel& model, bool* ok = nullptr) {
    ScratchDir dir;
    std::string path = dir.write("model.obj", text);
    objLoader loader;
    testing::internal::CaptureStdout();
    bool result = loader.import(model, path.c_str());
    std::string out = testing::internal::GetCapturedStdout();
    if (ok != nullptr) {
        *ok = result;
    }
    EXPECT_TRUE(loader.vertices.empty() && loader.normals.empty() && loader.faces.empty() &&
                loader.texCoords.empty())
        << "the loader keeps nothing after handing the arrays over";
    return out;
}

const char* const triangleData = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\n";

struct CountCase {
    const char* name;
    std::string text;
    // frames, first-frame faces, vertices, texture coordinates, normals, total faces
    int frames, faces, vertexs, uvs, normals, total;
    // true lengths of the vertex, texture-coordinate, normal and face arrays
    int vertexLength, texCoordLength, normalLength, faceLength;
};

const std::string filler98(98, 'x');

const std::vector<CountCase> countCases = {
    {"ordinary file",
     "# a comment\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nvt 0 0\nvt 1 1 0.5\nvn 0 0 1\n"
     "g walls\ns off\nusemtl stone\nf 1/1/1 2/2/1 3/2/1\nf 1/1/1 3/2/1 4/1/1\n",
     1, 2, 4, 2, 1, 2, 4, 2, 1, 2},
    {"four corners give one triangle",
     std::string(triangleData) + "v 1 1 0\nf 1/1/1 2/1/1 3/1/1 4/1/1\n", 1, 1, 4, 1, 1, 1, 4, 1, 1, 1},
    {"tab after v is not a vertex", "v 0 0 0\nv\t1 1 1\nv 2 2 2\n", 1, 0, 2, 0, 0, 0, 2, 0, 0, 0},
    {"empty lines and a leading blank", "v 0 0 0\n\n\nv 1 1 1\n v 2 2 2\nvn 0 1 0\n", 1, 0, 2, 0, 1, 0, 2, 0, 1, 0},
    {"lone v drops nothing of the next line", "v\nv 1 1 1\n", 1, 0, 1, 0, 0, 0, 1, 0, 0, 0},
    {"parameter-space vertex skipped", "vp 0.5 0.5\nv 1 1 1\n", 1, 0, 1, 0, 0, 0, 1, 0, 0, 0},
    {"two-number vertex swallows the face line",
     "vt 0 0\nvn 0 0 1\nv 0 0\nf 1/1/1 1/1/1 1/1/1\n", 1, 0, 1, 1, 1, 0, 1, 1, 1, 0},
    {"two-corner face swallows the next line and a frame follows",
     std::string(triangleData) + "f 1/1/1 2/1/1\nv 2 2 2\nv 3 3 3\n", 2, 1, 4, 1, 1, 1, 4, 1, 1, 1},
    {"two frames: counts up to the second block's first face",
     std::string(triangleData) + "f 1/1/1 2/1/1 3/1/1\nf 1/1/1 3/1/1 2/1/1\n# next block\n"
                                 "v 5 0 0\nv 6 0 0\nvn 0 1 0\nv 5 1 0\nf 4/1/2 5/1/2 6/1/2\n",
     2, 2, 6, 1, 2, 3, 6, 1, 2, 3},
    {"three frames: counts stay at the second block",
     std::string(triangleData) + "f 1/1/1 2/1/1 3/1/1\n# next block\nv 5 0 0\nvn 0 1 0\n"
                                 "f 4/1/2 2/1/2 3/1/2\ng third\nv 7 0 0\nv 8 0 0\nvt 1 1\n"
                                 "f 5/2/1 6/2/1 4/2/1\n",
     3, 1, 4, 1, 2, 3, 6, 2, 2, 3},
    {"vertex line over 99 characters: remainder read as a vertex line",
     "v 1 2 3 " + filler98 + "v 4 5 6\n", 1, 0, 2, 0, 0, 0, 2, 0, 0, 0},
    {"vertex line of exactly 99 trailing characters and a line end",
     "v 1 2 3" + filler98 + "v 4 5 6\n", 1, 0, 1, 0, 0, 0, 1, 0, 0, 0},
    {"face line over 99 characters: remainder read as a face line",
     std::string(triangleData) + "f 1/1/1 2/1/1 3/1/1 " + filler98 + "f 3/1/1 2/1/1 1/1/1\n",
     1, 2, 3, 1, 1, 2, 3, 1, 1, 2},
    {"no line end at the end of the file", "v 0 0 0\nvn 0 0 1\nv 1 1 1", 1, 0, 2, 0, 1, 0, 2, 0, 1, 0},
    {"carriage returns before line ends",
     "v 0 0 0\r\nvt 0 0\r\nvn 0 0 1\r\n\r\nf 1/1/1 1/1/1 1/1/1\r\n", 1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
    {"empty file", "", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},
};

TEST(ObjLoaderCounts, SummaryAndArrayLengths) {
    for (const CountCase& c : countCases) {
        SCOPED_TRACE(c.name);
        ObjModel model;
        bool ok = false;
        std::string out = importText(c.text, model, &ok);
        EXPECT_TRUE(ok);
        EXPECT_EQ(out, summary(c.frames, c.faces, c.vertexs, c.uvs, c.normals, c.total));
        EXPECT_EQ(model.frameCount, c.frames);
        EXPECT_EQ(model.faceCount, c.faces);
        EXPECT_EQ(model.vertexCount, c.vertexs);
        EXPECT_EQ(model.texCoordCount, c.uvs);
        EXPECT_EQ(model.normalCount, c.normals);
        EXPECT_EQ(model.totalFaceCount, c.total);
        EXPECT_EQ(model.vertexArrayLength, c.vertexLength);
        EXPECT_EQ(model.texCoordArrayLength, c.texCoordLength);
        EXPECT_EQ(model.normalArrayLength, c.normalLength);
        EXPECT_EQ(model.faceArrayLength, c.faceLength);
        releaseModel(model);
    }
}

TEST(ObjLoaderValues, ElementsInFileOrderWithZeroBasedIndices) {
    ObjModel model;
    importText("v 0.5 -1 2e1\nv 1 0 0\nv 1 1 0\nv 0 1 0\nvt 0.25 0.75 0.5\nvt 1 1\n"
               "vn 0 0 1\nvn 0 1 0\nf 1/1/1 2/2/2 3/1/2\nf 4/2/1 3/1/2 1/2/2 2/1/1\n",
               model);
    ASSERT_EQ(model.vertexArrayLength, 4);
    ASSERT_EQ(model.texCoordArrayLength, 2);
    ASSERT_EQ(model.normalArrayLength, 2);
    ASSERT_EQ(model.faceArrayLength, 2);
    EXPECT_EQ(model.vertices[0].x, 0.5f);
    EXPECT_EQ(model.vertices[0].y, -1.0f);
    EXPECT_EQ(model.vertices[0].z, 20.0f);
    EXPECT_EQ(model.vertices[3].y, 1.0f);
    EXPECT_EQ(model.texCoords[0].u, 0.25f);
    EXPECT_EQ(model.texCoords[0].v, 0.75f);
    EXPECT_EQ(model.normals[1].y, 1.0f);
    EXPECT_EQ(model.normals[1].z, 0.0f);

    const ObjFace& a = model.faces[0];
    EXPECT_EQ(std::vector<int>(a.vertexIndex, a.vertexIndex + 3), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(std::vector<int>(a.texCoordIndex, a.texCoordIndex + 3), (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(std::vector<int>(a.normalIndex, a.normalIndex + 3), (std::vector<int>{0, 1, 1}));
    // The fourth corner is dropped.
    const ObjFace& b = model.faces[1];
    EXPECT_EQ(std::vector<int>(b.vertexIndex, b.vertexIndex + 3), (std::vector<int>{3, 2, 0}));
    EXPECT_EQ(std::vector<int>(b.texCoordIndex, b.texCoordIndex + 3), (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(std::vector<int>(b.normalIndex, b.normalIndex + 3), (std::vector<int>{0, 1, 1}));
    releaseModel(model);
}

TEST(ObjLoaderValues, MissingNumbersStayZero) {
    ObjModel model;
    importText("v 1 2 # two numbers\nvt 0.5 # one\nvn 3 # one\n", model);
    ASSERT_EQ(model.vertexArrayLength, 1);
    ASSERT_EQ(model.texCoordArrayLength, 1);
    ASSERT_EQ(model.normalArrayLength, 1);
    EXPECT_EQ(model.vertices[0].x, 1.0f);
    EXPECT_EQ(model.vertices[0].y, 2.0f);
    EXPECT_EQ(model.vertices[0].z, 0.0f);
    EXPECT_EQ(model.texCoords[0].u, 0.5f);
    EXPECT_EQ(model.texCoords[0].v, 0.0f);
    EXPECT_EQ(model.normals[0].x, 3.0f);
    EXPECT_EQ(model.normals[0].y, 0.0f);
    releaseModel(model);
}

// Face lines in other forms are kept, with -1 wherever the scan stopped.
TEST(ObjLoaderValues, FacesInOtherFormsKeepMinusOne) {
    struct FaceCase {
        const char* line;
        std::vector<int> vertex, texCoord, normal;
    };
    const std::vector<FaceCase> cases = {
        {"f 1//1 2//2 3//3\n", {0, -1, -1}, {-1, -1, -1}, {-1, -1, -1}},
        {"f 1 2 3\n", {0, -1, -1}, {-1, -1, -1}, {-1, -1, -1}},
        {"f 1/2 3/4 5/6\n", {0, -1, -1}, {1, -1, -1}, {-1, -1, -1}},
        {"f 1/1/1 2/2/2\n", {0, 1, -1}, {0, 1, -1}, {0, 1, -1}},
        {"f 1/1/1 2/2/2 3/3/x\n", {0, 1, 2}, {0, 1, 2}, {0, 1, -1}},
        {"f\n", {-1, -1, -1}, {-1, -1, -1}, {-1, -1, -1}},
    };
    for (const FaceCase& c : cases) {
        SCOPED_TRACE(c.line);
        ObjModel model;
        importText(c.line, model);
        ASSERT_EQ(model.faceArrayLength, 1);
        ASSERT_EQ(model.totalFaceCount, 1);
        const ObjFace& f = model.faces[0];
        EXPECT_EQ(std::vector<int>(f.vertexIndex, f.vertexIndex + 3), c.vertex);
        EXPECT_EQ(std::vector<int>(f.texCoordIndex, f.texCoordIndex + 3), c.texCoord);
        EXPECT_EQ(std::vector<int>(f.normalIndex, f.normalIndex + 3), c.normal);
        EXPECT_FALSE(faceIsUsable(model, 0, false));
        releaseModel(model);
    }
}

// Indices at the ends of the int range: the smallest cannot be lowered by one and stays as it
// is (a wrap would make it the largest); every one of these faces is unusable.
TEST(ObjLoaderValues, FaceIndicesAtTheIntLimits) {
    ObjModel model;
    importText(std::string(triangleData) +
                   "f -2147483648/1/1 1/-2147483647/1 2147483647/1/-2147483648\n", model);
    ASSERT_EQ(model.faceArrayLength, 1);
    const ObjFace& f = model.faces[0];
    EXPECT_EQ(std::vector<int>(f.vertexIndex, f.vertexIndex + 3), (std::vector<int>{INT_MIN, 0, INT_MAX - 1}));
    EXPECT_EQ(std::vector<int>(f.texCoordIndex, f.texCoordIndex + 3), (std::vector<int>{0, INT_MIN, 0}));
    EXPECT_EQ(std::vector<int>(f.normalIndex, f.normalIndex + 3), (std::vector<int>{0, 0, INT_MIN}));
    EXPECT_FALSE(faceIsUsable(model, 0, true));
    releaseModel(model);
}

TEST(ObjLoaderValues, FaceIndicesAreNotCheckedAgainstTheArrays) {
    ObjModel model;
    importText(std::string(triangleData) + "f 1/1/1 2/1/1 3/1/1\nf 1/1/1 2/1/1 9/1/1\nf 1/1/1 2/1/1 3/1/5\n", model);
    ASSERT_EQ(model.faceArrayLength, 3);
    EXPECT_EQ(model.faces[1].vertexIndex[2], 8);
    EXPECT_TRUE(faceIsUsable(model, 0, true));
    EXPECT_FALSE(faceIsUsable(model, 1, false));
    EXPECT_TRUE(faceIsUsable(model, 2, false));
    EXPECT_FALSE(faceIsUsable(model, 2, true));
    EXPECT_FALSE(faceIsUsable(model, 3, false));
    EXPECT_FALSE(faceIsUsable(model, -1, false));
    releaseModel(model);
}

TEST(ObjLoaderErrors, NoFileLeavesTheModelAndPrintsOneLine) {
    ScratchDir dir;
    std::string missing = dir.path + "/missing.obj";
    struct ErrorCase {
        const char* name;
        const char* fileName;
        std::string out;
    };
    const std::vector<ErrorCase> cases = {
        {"missing file", missing.c_str(), "error objLoader.import() no file of that name!\n"},
        {"no name", nullptr, "error objLoader.import() no filename passed in!\n"},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.name);
        Vector3 kept(7, 8, 9);
        ObjModel model;
        model.totalFaceCount = 5;
        model.vertexCount = 3;
        model.vertices = &kept;
        objLoader loader;
        testing::internal::CaptureStdout();
        bool ok = loader.import(model, c.fileName);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.out);
        EXPECT_FALSE(ok);
        EXPECT_EQ(model.totalFaceCount, 5);
        EXPECT_EQ(model.vertexCount, 3);
        EXPECT_EQ(model.vertices, &kept);
        EXPECT_EQ(model.frameCount, 0);
    }
}

// The name of a directory opens, but every read fails: the loader stops as at the end of an
// empty file instead of reading for ever.
TEST(ObjLoaderErrors, DirectoryReadsAsAnEmptyFile) {
    ScratchDir dir;
    ObjModel model;
    objLoader loader;
    testing::internal::CaptureStdout();
    bool ok = loader.import(model, dir.path.c_str());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), summary(1, 0, 0, 0, 0, 0));
    EXPECT_TRUE(ok);
    EXPECT_EQ(model.totalFaceCount, 0);
    releaseModel(model);
}

}  // namespace
