// Building the tile board from a maze model, and clearing its search marks.
#include "pathsearch/tile_board.h"

#include <climits>
#include <iostream>
#include <vector>

namespace {

void setColour(Tile& tile, const float rgb[3]) {
    tile.colour[0] = rgb[0];
    tile.colour[1] = rgb[1];
    tile.colour[2] = rgb[2];
}

// Widens [lo, hi] by one coordinate: below the minimum it becomes the minimum, otherwise
// above the maximum it becomes the maximum.
void takeCoordinate(float c, float& lo, float& hi) {
    if (c < lo) {
        lo = c;
    } else if (c > hi) {
        hi = c;
    }
}

// The ground-plane rectangle of one triangle, and its lowest y.
struct FaceBounds {
    float minX, maxX, minY, minZ, maxZ;
};

FaceBounds boundsOf(const ObjModel& model, const ObjFace& face) {
    const Vector3& a = model.vertices[face.vertexIndex[0]];
    FaceBounds b{a.x, a.x, a.y, a.z, a.z};
    for (int k = 1; k < 3; ++k) {
        const Vector3& v = model.vertices[face.vertexIndex[k]];
        if (v.x < b.minX) b.minX = v.x;
        if (v.x > b.maxX) b.maxX = v.x;
        if (v.y < b.minY) b.minY = v.y;
        if (v.z < b.minZ) b.minZ = v.z;
        if (v.z > b.maxZ) b.maxZ = v.z;
    }
    return b;
}

// Touching edges count as overlap.
bool overlaps(const FaceBounds& b, const Tile& t) {
    return b.maxX >= t.minX && t.maxX >= b.minX && t.minZ <= b.maxZ && t.maxZ >= b.minZ;
}

void block(Tile& tile) {
    tile.blocked = true;
    setColour(tile, kBlockedColour);
}

// The first i in [0, n) for which pred holds, pred being false up to some point and true
// from there on; n when it never holds.
template <class Pred>
int firstWhere(int n, Pred pred) {
    int lo = 0;
    int hi = n;
    while (lo < hi) {
        int mid = lo + (hi - lo) / 2;
        if (pred(mid)) {
            hi = mid;
        } else {
            lo = mid + 1;
        }
    }
    return lo;
}

// Number of columns (or rows) for a span, or -1 when it cannot be counted in an int.
long long cellsAlong(float span, float tileSize) {
    float q = span / tileSize;
    if (!(q < float(INT_MAX / 4))) {  // also catches NaN
        return -1;
    }
    return (long long)(int)q + 2;
}

}  // namespace

void TileBoard::build(const ObjModel& model, float tileSize_, SearchStyle style, BlockingPass pass) {
    minX = minY = minZ = -0.001f;
    maxX = maxY = maxZ = 0.001f;
    for (int f = 0; f < model.totalFaceCount; ++f) {
        if (!faceIsUsable(model, f, false)) {
            continue;
        }
        for (int k = 0; k < 3; ++k) {
            const Vector3& v = model.vertices[model.faces[f].vertexIndex[k]];
            takeCoordinate(v.x, minX, maxX);
            takeCoordinate(v.y, minY, maxY);
            takeCoordinate(v.z, minZ, maxZ);
        }
    }
    float width = maxX - minX;
    float depth = maxZ - minZ;
    tileSize = tileSize_;

    bool sizeUsable = tileSize > 0.0f;  // false for NaN too
    long long columns = sizeUsable ? cellsAlong(width, tileSize) : -1;
    long long rows = sizeUsable ? cellsAlong(depth, tileSize) : -1;
    tileStorage.reset();
    tiles = nullptr;
    if (columns < 0 || rows < 0 || columns * rows > kMaxBoardTiles) {
        if (sizeUsable) {
            std::cout << "tile board: the grid would have more than " << kMaxBoardTiles
                      << " tiles; the board stays empty" << std::endl;
        }
        lastColumn = -1;
        lastRow = -1;
        std::cout << "grid size::" << 0 << std::endl;
        return;
    }
    lastColumn = int(columns) - 1;
    lastRow = int(rows) - 1;
    int count = int(columns * rows);
    std::cout << "grid size::" << count << std::endl;

    tileStorage.reset(new Tile[count]);
    tiles = tileStorage.get();
    const float* freeColour =
        style == SearchStyle::Gridroute ? kGridrouteFreeColour : kTilewalkFreeColour;
    for (int r = 0; r <= lastRow; ++r) {
        for (int c = 0; c <= lastColumn; ++c) {
            Tile& t = tiles[r * (lastColumn + 1) + c];
            t.minX = float(c) * tileSize + minX;
            t.maxX = float(c) * tileSize + minX + tileSize;
            t.minZ = float(r) * tileSize + minZ;
            t.maxZ = float(r) * tileSize + minZ + tileSize;
            t.centre = Vector3(t.minX + tileSize / 2.0f, 0.0f, t.minZ + tileSize / 2.0f);
            t.blocked = false;
            t.open = false;
            t.closed = false;
            setColour(t, freeColour);
            t.g = 0.0f;
            t.h = 0.0f;
            t.f = 0.0f;
            t.parent = -1;
        }
    }

    const int width1 = lastColumn + 1;
    // The range pass marks each face's rectangle of tiles in a difference grid (+1 and -1 at its
    // corners) and sums it up once at the end: the cost grows with faces plus tiles, not with
    // faces times tiles, so a small file of many board-wide triangles builds as fast as a maze.
    std::vector<int> cover;
    if (pass == BlockingPass::TileRange) {
        cover.assign(size_t(lastRow + 2) * size_t(width1 + 1), 0);
    }
    auto coverAt = [&](int r, int c) -> int& { return cover[size_t(r) * size_t(width1 + 1) + size_t(c)]; };
    for (int f = 0; f < model.totalFaceCount; ++f) {
        if (!faceIsUsable(model, f, false)) {
            continue;
        }
        FaceBounds b = boundsOf(model, model.faces[f]);
        if (style == SearchStyle::Gridroute && !(b.minY < 0.8f)) {
            continue;
        }
        if (pass == BlockingPass::AllTiles) {
            for (int i = 0; i < count; ++i) {
                if (overlaps(b, tiles[i])) {
                    block(tiles[i]);
                }
            }
            continue;
        }
        // Every tile of a column has the same x edges and every tile of a row the same z
        // edges, and both edges grow with the column (row) number, so the columns whose x
        // range meets [b.minX, b.maxX] form one run that a binary search over row 0 finds
        // exactly, whatever the rounding of the edges; likewise the rows over column 0.
        int cLo = firstWhere(width1, [&](int c) { return tiles[c].maxX >= b.minX; });
        int cHi = firstWhere(width1, [&](int c) { return !(tiles[c].minX <= b.maxX); }) - 1;
        int rLo = firstWhere(lastRow + 1, [&](int r) { return tiles[r * width1].maxZ >= b.minZ; });
        int rHi = firstWhere(lastRow + 1, [&](int r) { return !(tiles[r * width1].minZ <= b.maxZ); }) - 1;
        if (cLo > cHi || rLo > rHi) {
            continue;  // off the grid, or a NaN corner
        }
        coverAt(rLo, cLo) += 1;
        coverAt(rLo, cHi + 1) -= 1;
        coverAt(rHi + 1, cLo) -= 1;
        coverAt(rHi + 1, cHi + 1) += 1;
    }
    if (pass != BlockingPass::TileRange) {
        return;
    }
    // Summed along each row, then down each column, the grid holds for every tile the number of
    // rectangles that cover it (at most the face count, so no int overflows).
    for (int r = 0; r <= lastRow; ++r) {
        for (int c = 1; c <= lastColumn; ++c) {
            coverAt(r, c) += coverAt(r, c - 1);
        }
    }
    for (int r = 1; r <= lastRow; ++r) {
        for (int c = 0; c <= lastColumn; ++c) {
            coverAt(r, c) += coverAt(r - 1, c);
        }
    }
    for (int r = 0; r <= lastRow; ++r) {
        for (int c = 0; c <= lastColumn; ++c) {
            if (coverAt(r, c) > 0) {
                block(tiles[r * width1 + c]);
            }
        }
    }
}

void TileBoard::reset() {
    int count = tileCount();
    for (int i = 0; i < count; ++i) {
        Tile& t = tiles[i];
        t.open = false;
        t.closed = false;
        // A blocked tile may have been a start or goal: it loses the search's marks too,
        // or it would seed the next search as a stale open tile.
        setColour(t, t.blocked ? kBlockedColour : kGridrouteFreeColour);
    }
}
