// mazegen: writes a random maze as an OBJ file the viewers can load, and tells what the tile
// board over it looks like at one tile size: tile count, free tiles, and whether the maze can
// serve as tilewalk's maze1.obj (tiles 44 and 11111 free and connected).
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/mazekit/mazes.h"
#include "tools/mazekit/obj_write.h"
#include "tools/searchkit/number_arguments.h"
#include "tools/searchkit/search_runs.h"

namespace {

const char* usageText =
    "usage: mazegen [options] FILE.obj\n"
    "Writes a random maze (walls only, standing on y = 0, centred on the origin) as an OBJ\n"
    "file the maze viewers load, then prints the facts of the tile board over it.\n"
    "\n"
    "options:\n"
    "  --cells N | --cells COLUMNSxROWS  size in cells (default 12)\n"
    "  --seed N              random seed; the same seed gives the same maze (default 1)\n"
    "  --corridor W          corridor width between the walls, in model units (default 2.4)\n"
    "  --wall-height H       wall height (default 1); keep it at 0.8 or more so that gridroute\n"
    "                        blocks tiles by the wall sides only, as in the shipped mazes\n"
    "  --loops N             inner walls to knock out after carving, for extra routes (default 0)\n"
    "  --tilewalk            enter through the south wall above tile 44 instead of at the corner,\n"
    "                        so that the maze can serve as tilewalk's maze1.obj\n"
    "  --tile-size T         tile size of the board facts (default 0.3, tilewalk's)\n"
    "  --help                this text\n"
    "\n"
    "Walls are 0.2 thick; one cell is corridor + 0.2 wide. The maze is entered at the corner\n"
    "cell nearest tile 0 and left at the opposite corner (with --tilewalk: left through the\n"
    "north wall of that corner cell). At tile size 0.3, tilewalk needs more than 11111 tiles:\n"
    "about 32 units across, for example --cells 16 --corridor 1.8 --tilewalk.\n";

int usageError(const std::string& message) {
    std::fprintf(stderr, "mazegen: %s\n(mazegen --help lists the options)\n", message.c_str());
    return 2;
}

const char* yesNo(bool b) { return b ? "yes" : "no"; }

}  // namespace

int main(int argc, char** argv) {
    int columns = 12, rows = 12, loops = 0;
    unsigned long long seed = 1;
    double corridor = 2.4, wallHeight = 1.0, tileSize = 0.3;
    bool tilewalk = false;
    std::string output;

    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        std::string value;
        bool hasValue = false;
        size_t eq = arg.find('=');
        if (arg.compare(0, 2, "--") == 0 && eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg = arg.substr(0, eq);
            hasValue = true;
        }
        auto next = [&](std::string& out) {
            if (hasValue) {
                out = value;
                return true;
            }
            if (i + 1 >= argc) return false;
            out = argv[++i];
            return true;
        };
        if (arg == "--help" || arg == "-h") {
            std::fputs(usageText, stdout);
            return 0;
        } else if (arg == "--tilewalk") {
            tilewalk = true;
        } else if (arg == "--cells") {
            if (!next(value)) return usageError("--cells needs a value");
            size_t x = value.find('x');
            bool ok = x == std::string::npos
                          ? parseInt(value, columns) && (rows = columns, true)
                          : parseInt(value.substr(0, x), columns) && parseInt(value.substr(x + 1), rows);
            if (!ok || columns < 1 || rows < 1 || columns > 500 || rows > 500)
                return usageError("--cells takes N or COLUMNSxROWS, each from 1 to 500: " + value);
        } else if (arg == "--seed") {
            int s = 0;
            if (!next(value) || !parseInt(value, s) || s < 0)
                return usageError("--seed takes a whole number, 0 or more");
            seed = static_cast<unsigned long long>(s);
        } else if (arg == "--loops") {
            if (!next(value) || !parseInt(value, loops) || loops < 0)
                return usageError("--loops takes a whole number, 0 or more");
        } else if (arg == "--corridor") {
            if (!next(value) || !parseFloat(value, corridor) || corridor <= 0 || corridor > 100)
                return usageError("--corridor takes a width above 0 and up to 100");
        } else if (arg == "--wall-height") {
            if (!next(value) || !parseFloat(value, wallHeight) || wallHeight <= 0 || wallHeight > 100)
                return usageError("--wall-height takes a height above 0 and up to 100");
        } else if (arg == "--tile-size") {
            if (!next(value) || !parseFloat(value, tileSize) || tileSize < 0.05 || tileSize > 100)
                return usageError("--tile-size takes a size from 0.05 to 100");
        } else if (arg.compare(0, 1, "-") == 0 && arg.size() > 1) {
            return usageError("unknown option " + arg);
        } else if (output.empty()) {
            output = arg;
        } else {
            return usageError("more than one output file: " + output + " and " + arg);
        }
    }
    if (output.empty()) return usageError("no output file given");

    WallStyle style;
    style.cellSize = corridor + style.thickness;
    style.height = wallHeight;

    // With --tilewalk the entrance goes into the cell above tile 44's centre. The board starts
    // at the west face of the west wall, where the grid of cells starts half a wall earlier.
    int entranceColumn = -1;
    if (tilewalk) {
        double fromWestLine = 44.5 * tileSize - style.thickness / 2;
        entranceColumn = static_cast<int>(std::floor(fromWestLine / style.cellSize));
        if (entranceColumn < 0 || entranceColumn >= columns) {
            std::fprintf(stderr, "mazegen: tile 44 lies beyond the maze's south wall; making a corner entrance\n");
            entranceColumn = -1;
        }
    }
    MazeLayout layout = gridMaze(columns, rows, seed, loops, style, entranceColumn);
    std::vector<WallBox> boxes = wallBoxes(layout.grid, style);
    if (!writeTextFile(output, objText(boxes, layout.title))) {
        std::fprintf(stderr, "mazegen: cannot write %s\n", output.c_str());
        return 1;
    }
    const double width = columns * style.cellSize + style.thickness;
    const double depth = rows * style.cellSize + style.thickness;
    std::printf("wrote %s: %d x %d cells of %g (corridors %g wide), walls %g high, %zu triangles, "
                "%g x %g units\n",
                output.c_str(), columns, rows, style.cellSize, corridor, wallHeight, boxes.size() * 10,
                width, depth);
    if (width > 36 || depth > 36) {
        std::printf("note: wider than 36 units; the viewers' cameras (about 50 away, 45 degrees) may "
                    "not show all of it\n");
    }

    // Read the file back the way the viewers do.
    ObjModel model;
    if (!loadMaze(model, output)) {
        std::fprintf(stderr, "mazegen: cannot read %s back\n", output.c_str());
        return 1;
    }
    const float ts = static_cast<float>(tileSize);
    TileBoard board;
    buildBoard(board, model, ts, SearchStyle::Tilewalk);
    releaseModel(model);  // the board keeps all it needs
    const int tiles = board.tileCount();
    const int free = freeTileCount(board);
    std::printf("board at tile size %g: %d x %d = %d tiles, %d free\n", tileSize, board.lastColumn + 1,
                board.lastRow + 1, tiles, free);
    std::vector<int> fromZero = tileDistances(board, firstFreeTile(board));
    int reached = 0;
    for (int d : fromZero) reached += d >= 0 ? 1 : 0;
    std::printf("free tiles connected: %s\n", yesNo(free > 0 && reached == free));

    const bool free44 = board.isTile(44) && !board.tiles[44].blocked;
    const bool free11111 = board.isTile(11111) && !board.tiles[11111].blocked;
    auto describe = [&](int t, bool isFree) {
        return !board.isTile(t) ? std::string("off the board") : isFree ? std::string("free") : std::string("blocked");
    };
    std::printf("tile 44: %s; tile 11111: %s\n", describe(44, free44).c_str(), describe(11111, free11111).c_str());
    bool connected = false;
    if (free44 && free11111) {
        std::vector<int> d = tileDistances(board, 44);
        connected = d[11111] >= 0;
        if (connected) {
            SearchRun run = runTilewalk(board, 44, 11111);
            std::printf("tiles 44 and 11111 connected: yes, shortest way %d tiles; tilewalk's search "
                        "takes %d frames (cycles_taken) for a path of %d tiles\n",
                        d[11111] + 1, run.frames, run.pathTiles);
        } else {
            std::printf("tiles 44 and 11111 connected: no\n");
        }
    }
    std::printf("usable as maze1.obj (tile size 0.3): %s\n",
                yesNo(std::fabs(tileSize - 0.3) < 1e-9 && tiles > 11111 && connected));
    return 0;
}
