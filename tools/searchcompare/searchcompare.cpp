// searchcompare: runs gridroute's four search methods on one maze without a window, the way
// gridroute runs them (goal set, then a restart at the start tile, then one step per frame with
// a number of expansions per step), and prints what each took.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/searchkit/number_arguments.h"
#include "tools/searchkit/search_runs.h"

namespace {

const char* usageText =
    "usage: searchcompare [options] MAZE.obj\n"
    "Builds gridroute's tile board over MAZE.obj and runs the four search methods from a start\n"
    "tile to a goal tile the way gridroute does, one step per frame, without a window. Prints,\n"
    "per method, the tiles on the path (gridroute's \"total tiles covered on path: \"), the tiles\n"
    "expanded, the frames (gridroute's \"cycles_taken: \") and the time the search took here.\n"
    "\n"
    "options:\n"
    "  --tile-size T         level of detail, the tile edge (default 0.5; gridroute accepts 0.25\n"
    "                        to 3.5 and turns anything else into 0.5)\n"
    "  --start N             start tile (default: the first free tile, by index; tile 0, where\n"
    "                        gridroute's cursor starts, whenever it is free)\n"
    "  --goal N              goal tile (default: the last free tile, by index: the far corner,\n"
    "                        which is always free)\n"
    "  --steps-per-frame N   expansions per frame (default 2, gridroute's starting speed)\n"
    "  --help                this text\n"
    "\n"
    "Tile index = row x columns + column; row 0 lies at the maze's smallest z, column 0 at its\n"
    "smallest x. A negative N counts from the end: -1 is the last tile, the far corner. Exit status: 0 when the table was printed, 1 when the maze cannot be read or a\n"
    "tile is off the board or blocked, 2 for wrong options.\n";

int usageError(const std::string& message) {
    std::fprintf(stderr, "searchcompare: %s\n(searchcompare --help lists the options)\n", message.c_str());
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    double tileSize = 0.5;
    int start = -1, goal = -1, stepsPerFrame = 2;
    bool startGiven = false, goalGiven = false;
    std::string mazePath;

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
        auto next = [&]() {
            if (hasValue) return true;
            if (i + 1 >= argc) return false;
            value = argv[++i];
            return true;
        };
        if (arg == "--help" || arg == "-h") {
            std::fputs(usageText, stdout);
            return 0;
        } else if (arg == "--tile-size") {
            if (!next()) return usageError("--tile-size needs a value");
            if (!parseFloat(value, tileSize) || !(tileSize >= 0.05 && tileSize <= 100))
                return usageError("--tile-size takes a size from 0.05 to 100: " + value);
        } else if (arg == "--start") {
            if (!next() || !parseInt(value, start)) return usageError("--start takes a tile number");
            startGiven = true;
        } else if (arg == "--goal") {
            if (!next() || !parseInt(value, goal)) return usageError("--goal takes a tile number");
            goalGiven = true;
        } else if (arg == "--steps-per-frame") {
            if (!next() || !parseInt(value, stepsPerFrame) || stepsPerFrame < 1 || stepsPerFrame > 100000)
                return usageError("--steps-per-frame takes a number from 1 to 100000");
        } else if (arg.compare(0, 1, "-") == 0 && arg.size() > 1) {
            return usageError("unknown option " + arg);
        } else if (mazePath.empty()) {
            mazePath = arg;
        } else {
            return usageError("more than one maze file: " + mazePath + " and " + arg);
        }
    }
    if (mazePath.empty()) return usageError("no maze file given");

    ObjModel model;
    if (!loadMaze(model, mazePath)) {
        std::fprintf(stderr, "searchcompare: cannot open %s\n", mazePath.c_str());
        return 1;
    }
    TileBoard board;
    buildBoard(board, model, static_cast<float>(tileSize), SearchStyle::Gridroute);
    const int faces = model.totalFaceCount;
    releaseModel(model);  // the board keeps all it needs
    if (board.tileCount() == 0) {
        std::fprintf(stderr, "searchcompare: no board at tile size %g (the grid would be too large)\n", tileSize);
        return 1;
    }
    if (!startGiven) start = firstFreeTile(board);
    if (!goalGiven) goal = lastFreeTile(board);
    // A negative tile number counts from the end of the board: -1 is the last tile.
    if (start < 0) start += board.tileCount();
    if (goal < 0) goal += board.tileCount();
    for (int t : {start, goal}) {
        if (!board.isTile(t)) {
            std::fprintf(stderr, "searchcompare: tile %d is not on the board (tiles 0 to %d)\n", t,
                         board.tileCount() - 1);
            return 1;
        }
        if (board.tiles[t].blocked) {
            std::fprintf(stderr, "searchcompare: tile %d (column %d, row %d) is blocked\n", t, board.columnOf(t),
                         board.rowOf(t));
            return 1;
        }
    }

    std::printf("maze %s, %zu faces; tile size %g: %d x %d = %d tiles, %d free\n", mazePath.c_str(),
                static_cast<size_t>(faces), tileSize, board.lastColumn + 1, board.lastRow + 1,
                board.tileCount(), freeTileCount(board));
    std::printf("start tile %d (column %d, row %d), goal tile %d (column %d, row %d), %d expansions per frame\n",
                start, board.columnOf(start), board.rowOf(start), goal, board.columnOf(goal), board.rowOf(goal),
                stepsPerFrame);
    std::vector<int> d = tileDistances(board, start);
    if (d[goal] >= 0) {
        std::printf("shortest way: %d tiles\n", d[goal] + 1);
    } else {
        std::printf("shortest way: none, the goal cannot be reached\n");
    }
    std::printf("\n%-18s %10s %11s %8s %10s\n", "method", "path tiles", "expansions", "frames", "time (ms)");
    const SearchMethod methods[4] = {BreadthFirst, Dijkstra, AStarManhattan, AStarBreakingTies};
    for (SearchMethod m : methods) {
        SearchRun run = runGridroute(board, m, start, goal, stepsPerFrame);
        if (run.found) {
            std::printf("%-18s %10d %11d %8d %10.2f\n", PathSearch::methodLabel(m), run.pathTiles, run.expansions,
                        run.frames, run.milliseconds);
        } else {
            std::printf("%-18s %10s %11d %8d %10.2f\n", PathSearch::methodLabel(m), "no path", run.expansions,
                        run.frames, run.milliseconds);
        }
    }
    return 0;
}
