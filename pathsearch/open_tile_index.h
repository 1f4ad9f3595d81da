// OpenTileIndex: finds the open tile that a scan of the whole board picks, without the scan.
//
// The scan (scanOpenTiles) keeps the integer part of the last winner's f and lets a tile win
// while that integer, as a float, is strictly greater than the tile's f. Worked through, the
// tile it returns is, among the open tiles with f below 10000000 (never NaN):
//   1. one whose f truncates to the lowest integer m;
//   2. among those, when some have f < m (negative f with a fraction, which still beat an
//      equal integer part), the one of them with the highest index;
//   3. otherwise the one with the lowest index.
// openKey packs that order into one 64-bit number per tile (smaller wins), and the index keeps
// those keys in a binary heap. Entries go stale when their tile closes or is re-costed; they
// are dropped when they reach the top.
#pragma once

#include "pathsearch/tile_board.h"

#include <cstdint>
#include <vector>

// The key that ranks tile i with cost f; kNoOpenKey when f can never be picked.
constexpr std::uint64_t kNoOpenKey = UINT64_MAX;
std::uint64_t openKey(float f, int i);

// The plain whole-board scan: lowest integer part of f, lowest index among equals, f of
// 10000000 or more or NaN never chosen; -1 when no open tile qualifies.
int scanOpenTiles(const Tile* tiles, int count);

class OpenTileIndex {
public:
    std::vector<std::uint64_t> heap;  // min-heap of keys

    void clear() { heap.clear(); }
    // Forgets everything and takes in every open tile of the board.
    void rebuild(const Tile* tiles, int count);
    // Tile i has just been opened (wasOpen false) or re-costed from oldF; its f is current.
    void noteOpened(const Tile* tiles, int i, bool wasOpen, float oldF);
    // The tile the scan would return; -1 when none qualifies.
    int pick(const Tile* tiles, int count);

private:
    void push(std::uint64_t key);
};
