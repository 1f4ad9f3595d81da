// PathSearch: the step-per-frame best-first search over a TileBoard.
#pragma once

#include "core/key_state.h"
#include "pathsearch/tile_board.h"

enum SearchMethod { BreadthFirst = 1, Dijkstra = 2, AStarManhattan = 3, AStarBreakingTies = 4 };

class PathSearch {
public:
    SearchStyle style;
    TileBoard* board = nullptr;
    int start = 0;
    int goal = 0;
    bool running = false;
    int cursor = 0;
    SearchMethod method = AStarBreakingTies;
    int stepsPerFrame = 2;
    float speed = 2.0f;
    float keyRepeatTimer = 0.2f;
    int cycles_taken = 0;

    explicit PathSearch(SearchStyle style_) : style(style_) {}

    void init(TileBoard& board_, int start_, int goal_);
    void step();
    void restartAt(int tile);
    void setGoal(int tile);
    void handleControls(const KeyState& keys);

    int pickOpen();
    void expand(int cur);
    void relax(int from, int to);
    float estimate(int n);
    void tracePath();
};
