#include "tools/searchkit/search_runs.h"

#include <chrono>

#include "assets/obj_loader.h"

bool loadMaze(ObjModel& model, const std::string& path) {
    CoutCapture quiet;
    objLoader loader;
    return loader.import(model, path.c_str());
}

void releaseModel(ObjModel& model) {
    delete[] model.vertices;
    delete[] model.texCoords;
    delete[] model.normals;
    delete[] model.faces;
    model = ObjModel();
}

void buildBoard(TileBoard& board, const ObjModel& model, float tileSize, SearchStyle style) {
    CoutCapture quiet;
    board.build(model, tileSize, style);
}

int freeTileCount(const TileBoard& board) {
    int free = 0;
    for (int t = 0; t < board.tileCount(); ++t) free += board.tiles[t].blocked ? 0 : 1;
    return free;
}

int firstFreeTile(const TileBoard& board) {
    for (int t = 0; t < board.tileCount(); ++t) {
        if (!board.tiles[t].blocked) return t;
    }
    return -1;
}

int lastFreeTile(const TileBoard& board) {
    for (int t = board.tileCount() - 1; t >= 0; --t) {
        if (!board.tiles[t].blocked) return t;
    }
    return -1;
}

std::vector<int> tileDistances(const TileBoard& board, int from) {
    std::vector<int> d(static_cast<size_t>(board.tileCount()), -1);
    if (!board.isTile(from) || board.tiles[from].blocked) return d;
    const int columns = board.lastColumn + 1;
    std::vector<int> queue{from};
    d[from] = 0;
    for (size_t k = 0; k < queue.size(); ++k) {
        const int t = queue[k];
        const int c = board.columnOf(t), r = board.rowOf(t);
        const int next[4] = {c > 0 ? t - 1 : -1, c < board.lastColumn ? t + 1 : -1,
                             r > 0 ? t - columns : -1, r < board.lastRow ? t + columns : -1};
        for (int n : next) {
            if (n >= 0 && !board.tiles[n].blocked && d[n] < 0) {
                d[n] = d[t] + 1;
                queue.push_back(n);
            }
        }
    }
    return d;
}

// Reads the number after `label` on the last console line that starts with it; -1 if none.
static int numberAfter(const std::string& console, const std::string& label) {
    int value = -1;
    std::istringstream lines(console);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.compare(0, label.size(), label) == 0) value = std::stoi(line.substr(label.size()));
    }
    return value;
}

static int closedTiles(const TileBoard& board) {
    int closed = 0;
    for (int t = 0; t < board.tileCount(); ++t) closed += board.tiles[t].closed ? 1 : 0;
    return closed;
}

SearchRun runGridroute(TileBoard& board, SearchMethod method, int start, int goal, int stepsPerFrame) {
    SearchRun run;
    PathSearch search(SearchStyle::Gridroute);
    std::string console;
    {
        CoutCapture capture;
        search.init(board, 0, 0);
        search.method = method;
        search.stepsPerFrame = stepsPerFrame;
        auto begin = std::chrono::steady_clock::now();
        search.setGoal(goal);
        search.restartAt(start);
        while (search.running) search.step();
        auto end = std::chrono::steady_clock::now();
        run.milliseconds = std::chrono::duration<double, std::milli>(end - begin).count();
        console = capture.str();
    }
    run.frames = search.cycles_taken;
    run.pathTiles = numberAfter(console, "total tiles covered on path: ");
    run.found = run.pathTiles > 0 && numberAfter(console, "cycles_taken: ") == search.cycles_taken;
    // Every tile taken off the open set is closed once and stays closed; the start is closed
    // from the beginning and is the first tile taken.
    run.expansions = closedTiles(board);
    if (!run.found) run.pathTiles = 0;
    return run;
}

SearchRun runTilewalk(TileBoard& board, int start, int goal) {
    SearchRun run;
    PathSearch search(SearchStyle::Tilewalk);
    std::string console;
    {
        CoutCapture capture;
        auto begin = std::chrono::steady_clock::now();
        search.init(board, start, goal);
        while (search.running) search.step();
        auto end = std::chrono::steady_clock::now();
        run.milliseconds = std::chrono::duration<double, std::milli>(end - begin).count();
        console = capture.str();
    }
    run.frames = search.cycles_taken;
    run.found = numberAfter(console, "cycles_taken: ") == search.cycles_taken && board.isTile(goal) &&
                board.tiles[goal].closed;
    if (run.found) {
        for (int t = goal; t != -1 && run.pathTiles <= board.tileCount(); t = board.tiles[t].parent) ++run.pathTiles;
    }
    run.expansions = closedTiles(board);
    return run;
}
