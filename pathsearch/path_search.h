// PathSearch: the step-per-frame best-first search over a TileBoard.
#pragma once

#include "core/key_state.h"
#include "pathsearch/open_tile_index.h"
#include "pathsearch/tile_board.h"

enum SearchMethod { BreadthFirst = 1, Dijkstra = 2, AStarManhattan = 3, AStarBreakingTies = 4 };

// The console line printed when the open tiles run out before the goal is reached.
constexpr const char* kNoPathMessage = "no path found";

// Tile colours the search paints.
constexpr float kGridrouteOpenColour[3] = {0.35f, 0.5f, 0.1f};
constexpr float kGridroutePathColour[3] = {1.0f, 1.0f, 0.0f};
constexpr float kGridrouteStartColour[3] = {0.0f, 1.0f, 0.0f};
constexpr float kTilewalkPathColour[3] = {0.75f, 1.0f, 0.0f};
constexpr float kTilewalkStartColour[3] = {1.0f, 1.0f, 1.0f};
constexpr float kGoalColour[3] = {1.0f, 0.0f, 0.0f};

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
    // pickOpen asks the index when set and scans the whole board otherwise; both give the
    // same tile. The index follows every open mark and f that this class writes.
    bool useOpenIndex = true;
    OpenTileIndex openIndex;

    explicit PathSearch(SearchStyle style_) : style(style_) {}

    // Indices outside the board are stored but never written through: such a search finds
    // no open tile and stops with the no-path line.
    void init(TileBoard& board_, int start_, int goal_);
    void step();
    void restartAt(int tile);
    void setGoal(int tile);
    // One frame of the search controls: applyKeys, then drawCursor.
    void handleControls(const KeyState& keys);
    // The key part of the controls: cursor moves, goal and start, speed, method.
    void applyKeys(const KeyState& keys);
    // The cursor marker: a 12-pixel point one unit above the cursor tile; lighting is
    // enabled again afterwards.
    void drawCursor() const;

    int pickOpen();
    int pickOpenScan() const;
    void expand(int cur);
    void relax(int from, int to);
    float estimate(int n);
    void tracePath();

    // Label printed when a method is chosen.
    static const char* methodLabel(SearchMethod m);

private:
    bool isTile(int i) const { return board != nullptr && board->isTile(i); }
    void markStart();
    void paintEnds();
    void stopWithoutPath();
};
