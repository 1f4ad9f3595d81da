// Whatever model the OBJ reader makes of the input: build the board at a tile size taken from the
// input, then run a bounded search with every method, switching methods and goals as it goes.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "assets/obj_loader.h"
#include "fuzz/fuzz_input.h"
#include "pathsearch/path_search.h"
#include "pathsearch/tile_board.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silenceStdout();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) {
        return 0;
    }
    // The first bytes choose the tile size (0.25 .. 3.5, as gridroute allows), style and tiles.
    float tileSize = 0.25f + float(data[0]) * (3.25f / 255.0f);
    SearchStyle style = (data[1] & 1) ? SearchStyle::Tilewalk : SearchStyle::Gridroute;
    unsigned startSeed = data[2];
    unsigned goalSeed = data[3];
    const char* path = writeScratchFile(data + 4, size - 4);
    if (path == nullptr) {
        return 0;
    }
    objLoader loader;
    ObjModel model;
    loader.import(model, path);
    if (loader.file != nullptr) {
        std::fclose(loader.file);
    }

    TileBoard board;
    board.build(model, tileSize, style);
    int tiles = board.tileCount();
    if (tiles > 0 && board.tiles != nullptr) {
        int start = int(startSeed * 7919u % unsigned(tiles));
        int goal = int(goalSeed * 104729u % unsigned(tiles));
        PathSearch search(style);
        search.init(board, start, goal);
        if (style == SearchStyle::Gridroute) {
            search.setGoal(goal);
            search.restartAt(start);
        }
        for (int frame = 0; frame < 300 && search.running; ++frame) {
            if (style == SearchStyle::Gridroute && frame % 50 == 49) {
                search.method = SearchMethod(1 + (frame / 50) % 4);
            }
            search.step();
        }
    }

    delete[] model.vertices;
    delete[] model.texCoords;
    delete[] model.normals;
    delete[] model.faces;
    return 0;
}
