// TileBoard and Tile: the grid of square tiles over a maze's ground plane.
#pragma once

#include "assets/obj_model.h"
#include "core/vector.h"

#include <memory>

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

// How the build finds the tiles a triangle blocks. Both give the same blocked set: TileRange
// looks only at the columns and rows under the triangle's bounding rectangle, AllTiles tests
// every tile of the board against every triangle (kept as the reference and for benchmarks).
enum class BlockingPass { TileRange, AllTiles };

class TileBoard {
public:
    float minX = 0.0f, maxX = 0.0f;
    float minY = 0.0f, maxY = 0.0f;
    float minZ = 0.0f, maxZ = 0.0f;
    int lastColumn = 0;
    int lastRow = 0;
    float tileSize = 0.0f;
    Tile* tiles = nullptr;
    // Owns the block that tiles points into; a second build replaces it.
    std::unique_ptr<Tile[]> tileStorage;

    // Lays the grid over the model, blocks the tiles under its triangles and prints
    // "grid size::" with the tile count. Faces whose vertex indices fall outside the model's
    // vertex array are skipped. A tile size that is not positive gives an empty board (no
    // tiles, lastColumn = lastRow = -1); so does a grid of more than kMaxBoardTiles tiles,
    // after a line that says so.
    void build(const ObjModel& model, float tileSize, SearchStyle style,
               BlockingPass pass = BlockingPass::TileRange);
    // Clears the search marks of every tile; free tiles get the free colour (0.3, 0.3, 0.4),
    // blocked ones the blocked colour.
    void reset();
    int tileCount() const { return tiles == nullptr ? 0 : (lastColumn + 1) * (lastRow + 1); }
    bool isTile(int i) const { return i >= 0 && i < tileCount(); }
    int columnOf(int i) const { return i % (lastColumn + 1); }
    int rowOf(int i) const { return i / (lastColumn + 1); }
    // Draws the corner points of the model's extent and every tile as a flat quad on y = 0.
    void draw() const;
};

// The largest board a build makes, 4194304 tiles (about 250 MB). Even the finest grid over the
// largest shipped maze has under 100000; a model with far-flung or huge coordinates would
// otherwise ask for gigabytes of tiles and a board nobody could draw.
constexpr int kMaxBoardTiles = 1 << 22;

// Colours the build and reset give tiles.
constexpr float kBlockedColour[3] = {0.2f, 0.2f, 0.3f};
constexpr float kGridrouteFreeColour[3] = {0.3f, 0.3f, 0.4f};
constexpr float kTilewalkFreeColour[3] = {0.5f, 0.5f, 0.7f};
