// Small boards and models for the tile board and search tests, and console capture.
#pragma once

#include "assets/obj_model.h"
#include "pathsearch/path_search.h"
#include "pathsearch/tile_board.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

// An ObjModel made in memory: one triangle per entry of faces, indices into vertices.
class ModelFixture {
public:
    std::vector<Vector3> vertices;
    std::vector<ObjFace> faces;
    ObjModel model;

    void addTriangle(Vector3 a, Vector3 b, Vector3 c) {
        int n = int(vertices.size());
        vertices.push_back(a);
        vertices.push_back(b);
        vertices.push_back(c);
        ObjFace face;
        for (int k = 0; k < 3; ++k) {
            face.vertexIndex[k] = n + k;
        }
        faces.push_back(face);
    }
    // The ObjModel over the arrays above; valid until they change.
    const ObjModel& get() {
        model.vertices = vertices.data();
        model.faces = faces.data();
        model.vertexCount = model.vertexArrayLength = int(vertices.size());
        model.faceCount = model.totalFaceCount = model.faceArrayLength = int(faces.size());
        return model;
    }
};

// Collects what is written to std::cout while it lives.
class CoutCapture {
public:
    CoutCapture() : old(std::cout.rdbuf(text.rdbuf())) {}
    ~CoutCapture() { std::cout.rdbuf(old); }
    std::string str() const { return text.str(); }

private:
    std::ostringstream text;
    std::streambuf* old;
};

// A board of map[0].size() columns and map.size() rows with tile size ts, built from a model
// whose only triangle sets the extent and lies high enough to block nothing in the gridroute
// style. '#' in the map marks a blocked tile. In the tilewalk style free tiles get its colour.
inline void buildMapBoard(TileBoard& board, const std::vector<std::string>& map, float ts,
                          SearchStyle style) {
    int columns = int(map[0].size());
    int rows = int(map.size());
    // Extent maxima that put trunc(span / ts) at columns - 2 (rows - 2).
    float x = float(columns - 2) * ts + ts / 2.0f - 0.001f;
    float z = float(rows - 2) * ts + ts / 2.0f - 0.001f;
    ModelFixture m;
    m.addTriangle(Vector3(x, 5.0f, z), Vector3(x, 5.0f, z), Vector3(x, 5.0f, z));
    {
        CoutCapture quiet;
        board.build(m.get(), ts, SearchStyle::Gridroute);
    }
    EXPECT_EQ(board.lastColumn, columns - 1);
    EXPECT_EQ(board.lastRow, rows - 1);
    for (int i = 0; i < board.tileCount(); ++i) {
        Tile& t = board.tiles[i];
        if (map[i / columns][i % columns] == '#') {
            t.blocked = true;
            for (int k = 0; k < 3; ++k) t.colour[k] = kBlockedColour[k];
        } else if (style == SearchStyle::Tilewalk) {
            for (int k = 0; k < 3; ++k) t.colour[k] = kTilewalkFreeColour[k];
        }
    }
}

inline bool hasColour(const Tile& t, const float rgb[3]) {
    return t.colour[0] == rgb[0] && t.colour[1] == rgb[1] && t.colour[2] == rgb[2];
}
