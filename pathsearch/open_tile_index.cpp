// The open-tile index and the whole-board scan it stands in for.
#include "pathsearch/open_tile_index.h"

#include <algorithm>
#include <climits>
#include <functional>

namespace {

// Truncation toward zero; below the int range it saturates. Only called with f < 10000000.
int truncToInt(float f) {
    return f < -2147483648.0f ? INT_MIN : int(f);
}

int tileOfKey(std::uint64_t key) {
    std::uint32_t low = std::uint32_t(key);
    return (low & 0x80000000u) != 0 ? int(low & 0x7FFFFFFFu) : int(0x7FFFFFFFu - low);
}

}  // namespace

std::uint64_t openKey(float f, int i) {
    if (!(f < 10000000.0f)) {
        return kNoOpenKey;
    }
    int m = truncToInt(f);
    std::uint64_t high = std::uint64_t(std::uint32_t(m) ^ 0x80000000u) << 32;
    if (f < float(m)) {
        // Beats the earlier tiles of the same integer part: the highest index ranks first.
        return high | std::uint64_t(0x7FFFFFFFu - std::uint32_t(i));
    }
    return high | 0x80000000u | std::uint64_t(std::uint32_t(i));
}

int scanOpenTiles(const Tile* tiles, int count) {
    int best = 10000000;
    int result = -1;
    for (int i = 0; i < count; ++i) {
        if (tiles[i].open && float(best) > tiles[i].f) {
            result = i;
            best = truncToInt(tiles[i].f);
        }
    }
    return result;
}

void OpenTileIndex::push(std::uint64_t key) {
    heap.push_back(key);
    std::push_heap(heap.begin(), heap.end(), std::greater<std::uint64_t>());
}

void OpenTileIndex::rebuild(const Tile* tiles, int count) {
    heap.clear();
    for (int i = 0; i < count; ++i) {
        if (tiles[i].open) {
            std::uint64_t key = openKey(tiles[i].f, i);
            if (key != kNoOpenKey) {
                heap.push_back(key);
            }
        }
    }
    std::make_heap(heap.begin(), heap.end(), std::greater<std::uint64_t>());
}

void OpenTileIndex::noteOpened(const Tile* tiles, int i, bool wasOpen, float oldF) {
    std::uint64_t key = openKey(tiles[i].f, i);
    // An open tile whose key stays the same already has its entry.
    if (key == kNoOpenKey || (wasOpen && key == openKey(oldF, i))) {
        return;
    }
    push(key);
}

int OpenTileIndex::pick(const Tile* tiles, int count) {
    while (!heap.empty()) {
        std::uint64_t key = heap.front();
        int i = tileOfKey(key);
        if (i < count && tiles[i].open && openKey(tiles[i].f, i) == key) {
            return i;
        }
        std::pop_heap(heap.begin(), heap.end(), std::greater<std::uint64_t>());
        heap.pop_back();
    }
    return -1;
}
