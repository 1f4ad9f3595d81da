// TileBoard and Tile: the grid of square tiles over a maze's ground plane.
#pragma once

#include "assets/obj_model.h"
#include "core/vector.h"

enum class SearchStyle { Gridroute, Tilewalk };

class Tile {
public:
    float minX = 0.0f;
    float maxX = 0.0f;
    float minZ = 0.0f;
    float maxZ = 0.0f;
    Vector3 centre;
    bool blocked = false;
    bool open = false;
    bool closed = false;
    float colour[3] = {0.0f, 0.0f, 0.0f};
    float g = 0.0f;
    float h = 0.0f;
    float f = 0.0f;
    int parent = -1;
};

class TileBoard {
public:
    float minX = 0.0f, maxX = 0.0f;
    float minY = 0.0f, maxY = 0.0f;
    float minZ = 0.0f, maxZ = 0.0f;
    int lastColumn = 0;
    int lastRow = 0;
    float tileSize = 0.0f;
    Tile* tiles = nullptr;

    void build(const ObjModel& model, float tileSize, SearchStyle style);
    void reset();
    int tileCount() const { return (lastColumn + 1) * (lastRow + 1); }
    void draw() const;
};
