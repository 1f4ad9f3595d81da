// datagen: writes the viewers' data files into one folder: maze1.obj to maze6.obj, file.tga
// (the maze surface) and 32_sample4.tga (the flow field and its ground). The output is the same
// on every run. Usage: datagen <folder>
#include <cstdio>
#include <string>

#include "tools/mazekit/images.h"
#include "tools/mazekit/mazes.h"
#include "tools/mazekit/obj_write.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: datagen <folder>\n");
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    bool ok = true;
    for (int n = 1; n <= 6; ++n) {
        MazeLayout layout = fixedMaze(n);
        std::string path = folder + "maze" + std::to_string(n) + ".obj";
        ok = writeTextFile(path, objText(wallBoxes(layout.grid, layout.style), layout.title)) && ok;
    }
    ok = writeTga(folder + "file.tga", surfaceImage()) && ok;
    ok = writeTga(folder + "32_sample4.tga", flowImage()) && ok;
    if (!ok) {
        std::fprintf(stderr, "datagen: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
