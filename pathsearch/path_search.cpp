// The search engine: one frame of search per step, four methods, two styles.
#include "pathsearch/path_search.h"

#include <cmath>
#include <iostream>

namespace {

void paint(Tile& tile, const float rgb[3]) {
    tile.colour[0] = rgb[0];
    tile.colour[1] = rgb[1];
    tile.colour[2] = rgb[2];
}

}  // namespace

const char* PathSearch::methodLabel(SearchMethod m) {
    switch (m) {
        case BreadthFirst: return "Breadth first";
        case Dijkstra: return "Dijkstra";
        case AStarManhattan: return "A* Manhattan";
        case AStarBreakingTies: return "A* Breaking Ties";
    }
    return "";
}

void PathSearch::markStart() {
    if (!isTile(start)) {
        return;
    }
    Tile& t = board->tiles[start];
    t.open = true;
    t.parent = -1;
    t.closed = true;
    t.g = 0.0f;
    t.f = 0.0f;  // the first pick must find the start, the only open tile
}

void PathSearch::init(TileBoard& board_, int start_, int goal_) {
    board = &board_;
    start = start_;
    goal = goal_;
    markStart();
    // The board may hold open tiles from before; the index takes in whatever is open.
    openIndex.rebuild(board->tiles, board->tileCount());
    cursor = goal;
    running = style == SearchStyle::Tilewalk;
}

void PathSearch::restartAt(int tile) {
    if (board == nullptr) {
        return;
    }
    board->reset();
    start = tile;
    markStart();
    openIndex.clear();  // after the reset no tile is open but the start
    if (isTile(start)) {
        openIndex.noteOpened(board->tiles, start, false, 0.0f);
    }
    cycles_taken = 0;
    running = true;
}

void PathSearch::setGoal(int tile) {
    if (board == nullptr) {
        return;
    }
    board->reset();
    openIndex.clear();
    goal = tile;
    running = false;
}

void PathSearch::paintEnds() {
    if (isTile(start)) {
        paint(board->tiles[start],
              style == SearchStyle::Gridroute ? kGridrouteStartColour : kTilewalkStartColour);
    }
    if (isTile(goal)) {
        paint(board->tiles[goal], kGoalColour);
    }
}

void PathSearch::stopWithoutPath() {
    paintEnds();
    std::cout << kNoPathMessage << std::endl;
    running = false;
}

void PathSearch::step() {
    if (board == nullptr) {
        return;
    }
    if (style == SearchStyle::Gridroute) {
        paintEnds();
    }
    if (!running) {
        return;
    }
    cycles_taken += 1;
    bool reached = false;
    if (style == SearchStyle::Gridroute) {
        for (int done = 0; done < stepsPerFrame; ++done) {
            int cur = pickOpen();
            if (cur < 0) {
                stopWithoutPath();
                return;
            }
            board->tiles[cur].open = false;
            board->tiles[cur].closed = true;
            if (cur == goal) {
                reached = true;
                break;
            }
            expand(cur);
        }
    } else {
        int cur = pickOpen();
        if (cur < 0) {
            stopWithoutPath();
            return;
        }
        board->tiles[cur].open = false;
        board->tiles[cur].closed = true;
        reached = cur == goal;
        if (!reached) {
            expand(cur);
            paintEnds();
        }
    }
    if (reached) {
        tracePath();
        paintEnds();
        std::cout << "cycles_taken: " << cycles_taken << std::endl;
        running = false;
    }
}

int PathSearch::pickOpen() {
    if (board == nullptr) {
        return -1;
    }
    if (useOpenIndex) {
        return openIndex.pick(board->tiles, board->tileCount());
    }
    return pickOpenScan();
}

int PathSearch::pickOpenScan() const {
    if (board == nullptr) {
        return -1;
    }
    return scanOpenTiles(board->tiles, board->tileCount());
}

void PathSearch::expand(int cur) {
    int columns = board->lastColumn + 1;
    int column = board->columnOf(cur);
    int row = board->rowOf(cur);
    if (column != 0) {
        relax(cur, cur - 1);
    }
    if (row != 0) {
        relax(cur, cur - columns);
    }
    if (column != board->lastColumn) {
        relax(cur, cur + 1);
    }
    if (row != board->lastRow) {
        relax(cur, cur + columns);
    }
}

void PathSearch::relax(int from, int to) {
    Tile& t = board->tiles[to];
    if (t.closed || t.blocked) {
        return;
    }
    bool wasOpen = t.open;
    float oldF = t.f;
    t.parent = from;
    t.open = true;
    if (style == SearchStyle::Gridroute) {
        paint(t, kGridrouteOpenColour);
    } else {
        t.colour[0] = 0.0f;
    }
    t.g = board->tiles[from].g + board->tileSize;
    if (style == SearchStyle::Gridroute && method == BreadthFirst) {
        t.g = 0.0f;
    }
    t.h = estimate(to);
    t.f = style == SearchStyle::Gridroute ? t.h + t.g : t.h;
    openIndex.noteOpened(board->tiles, to, wasOpen, oldF);
}

float PathSearch::estimate(int n) {
    bool byDistance = style == SearchStyle::Tilewalk || method == AStarManhattan ||
                      method == AStarBreakingTies;
    // With the goal or start off the board there is nothing to aim at.
    if (!byDistance || !isTile(goal) || !isTile(start) || !isTile(n)) {
        return 0.0f;
    }
    const Vector3& at = board->tiles[n].centre;
    const Vector3& to = board->tiles[goal].centre;
    const Vector3& from = board->tiles[start].centre;
    float dx = at.x - to.x;
    float dz = at.z - to.z;
    if (style == SearchStyle::Gridroute && method == AStarManhattan) {
        return float(std::fabs(std::trunc(double(dz))) + std::fabs(std::trunc(double(dx))));
    }
    // |cross| grows with the distance of n from the line through start and goal.
    float cross = (from.z - to.z) * dx - (from.x - to.x) * dz;
    double distance = std::sqrt(double(dx) * dx + double(dz) * dz);
    if (style == SearchStyle::Tilewalk) {
        return float(distance + 0.1 * std::fabs(double(cross)));
    }
    return float((distance + 0.01 * std::fabs(double(cross))) * 4.0);
}

void PathSearch::tracePath() {
    const float* pathColour =
        style == SearchStyle::Gridroute ? kGridroutePathColour : kTilewalkPathColour;
    int count = 0;
    int limit = board->tileCount();
    for (int i = goal; isTile(i) && count < limit; i = board->tiles[i].parent) {
        paint(board->tiles[i], pathColour);
        count += 1;
    }
    if (style == SearchStyle::Gridroute) {
        std::cout << "total tiles covered on path: " << count << std::endl;
    }
}
