// Headless runs of the project's board and search for the command-line tools: loading a maze
// without its console summary, board facts, and searches driven the way the viewers drive them.
#pragma once

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "assets/obj_model.h"
#include "pathsearch/path_search.h"
#include "pathsearch/tile_board.h"

// Collects what is written to std::cout while it lives.
class CoutCapture {
public:
    CoutCapture() : old(std::cout.rdbuf(text.rdbuf())) {}
    ~CoutCapture() { std::cout.rdbuf(old); }
    CoutCapture(const CoutCapture&) = delete;
    CoutCapture& operator=(const CoutCapture&) = delete;
    std::string str() const { return text.str(); }

private:
    std::ostringstream text;
    std::streambuf* old;
};

// Loads an OBJ maze with the viewers' loader, keeping its summary off the console; false when
// the file cannot be opened.
bool loadMaze(ObjModel& model, const std::string& path);
// Gives back the model's arrays (the viewers keep theirs until they end; the tools and tests
// release them so that leak checking stays meaningful).
void releaseModel(ObjModel& model);
// Builds the board, keeping its "grid size::" line off the console.
void buildBoard(TileBoard& board, const ObjModel& model, float tileSize, SearchStyle style);

// Number of tiles that are not blocked.
int freeTileCount(const TileBoard& board);
// First and last free tile by index, -1 when there is none.
int firstFreeTile(const TileBoard& board);
int lastFreeTile(const TileBoard& board);
// Steps between `from` and every tile over free tiles, four-connected; -1 where unreachable
// (and everywhere when `from` is blocked or off the board).
std::vector<int> tileDistances(const TileBoard& board, int from);

struct SearchRun {
    bool found = false;     // the goal was reached
    int pathTiles = 0;      // "total tiles covered on path: " (gridroute) / tiles on the path
    int frames = 0;         // "cycles_taken: ", one per step call
    int expansions = 0;     // tiles taken off the open set, the start and the goal included
    double milliseconds = 0;
};

// gridroute's way: setGoal(goal), then restartAt(start) with the method chosen, then one step
// per frame with stepsPerFrame expansions until the search stops. Leaves its colours on the board.
SearchRun runGridroute(TileBoard& board, SearchMethod method, int start, int goal, int stepsPerFrame);
// tilewalk's way: init(board, start, goal) and one expansion per frame until the search stops.
SearchRun runTilewalk(TileBoard& board, int start, int goal);
