// Speed of the search and of the board build.
//
// BM_Search/<method>/<tiles>/{index,scan}: one full search from corner tile 0 to the opposite
// corner of an open board, picking through the open-tile index or by scanning the whole board.
// Only the steps are timed, in CPU time of the running thread (the machine may be shared);
// the restart before each search (a board reset) is not timed.
// BM_BoardBuild/{range,alltiles}: the board build over a maze of a few thousand wall
// triangles at tile size 0.25, with the range blocking pass and with the all-tiles pass.
#include "assets/obj_model.h"
#include "pathsearch/path_search.h"
#include "pathsearch/tile_board.h"

#include <benchmark/benchmark.h>

#include <climits>
#include <ctime>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The console lines of the build and the search go nowhere while benchmarks run.
class QuietCout {
public:
    QuietCout() : old(std::cout.rdbuf(sink.rdbuf())) {}
    ~QuietCout() { std::cout.rdbuf(old); }

private:
    std::ostringstream sink;
    std::streambuf* old;
};

struct Model {
    std::vector<Vector3> vertices;
    std::vector<ObjFace> faces;
    ObjModel model;

    void triangle(Vector3 a, Vector3 b, Vector3 c) {
        int n = int(vertices.size());
        vertices.push_back(a);
        vertices.push_back(b);
        vertices.push_back(c);
        ObjFace f;
        f.vertexIndex[0] = n;
        f.vertexIndex[1] = n + 1;
        f.vertexIndex[2] = n + 2;
        faces.push_back(f);
    }
    const ObjModel& get() {
        model.vertices = vertices.data();
        model.faces = faces.data();
        model.vertexCount = model.vertexArrayLength = int(vertices.size());
        model.faceCount = model.totalFaceCount = model.faceArrayLength = int(faces.size());
        return model;
    }
};

double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// An open board of side x side tiles at tile size 1: one triangle above the blocking height
// sets the extent.
void buildOpenBoard(TileBoard& board, int side) {
    float far = float(side - 2) + 0.5f - 0.001f;
    Model m;
    m.triangle({far, 5.0f, far}, {far, 5.0f, far}, {far, 5.0f, far});
    QuietCout quiet;
    board.build(m.get(), 1.0f, SearchStyle::Gridroute);
}

void searchBench(benchmark::State& state, SearchMethod method, int side, bool useIndex) {
    static TileBoard board;
    static int builtSide = 0;
    if (builtSide != side) {
        buildOpenBoard(board, side);
        builtSide = side;
    }
    PathSearch search(SearchStyle::Gridroute);
    search.useOpenIndex = useIndex;
    search.method = method;
    int goal = board.tileCount() - 1;
    QuietCout quiet;
    search.init(board, 0, goal);
    search.setGoal(goal);
    long expansions = 0;
    for (auto _ : state) {
        search.restartAt(0);
        search.stepsPerFrame = INT_MAX;
        double begin = threadSeconds();
        while (search.running) {
            search.step();
        }
        state.SetIterationTime(threadSeconds() - begin);
        for (int i = 0; i < board.tileCount(); ++i) expansions += board.tiles[i].closed;
    }
    state.counters["tiles"] = double(board.tileCount());
    state.counters["expanded"] = double(expansions) / double(state.iterations());
}

// A grid maze of cells x cells rooms, 2 units each, whose walls are upright quads (two
// triangles); a random third of the inner walls is left out.
void buildMaze(Model& m, int cells) {
    std::mt19937 rng(12345);
    auto wall = [&](float x0, float z0, float x1, float z1) {
        m.triangle({x0, 0.0f, z0}, {x1, 0.0f, z1}, {x1, 2.0f, z1});
        m.triangle({x0, 0.0f, z0}, {x1, 2.0f, z1}, {x0, 2.0f, z0});
    };
    for (int r = 0; r <= cells; ++r) {
        for (int c = 0; c <= cells; ++c) {
            bool border = r == 0 || r == cells || c == 0 || c == cells;
            if (c < cells && (border || rng() % 3 != 0)) {
                wall(2.0f * c, 2.0f * r, 2.0f * (c + 1), 2.0f * r);
            }
            if (r < cells && (border || rng() % 3 != 0)) {
                wall(2.0f * c, 2.0f * r, 2.0f * c, 2.0f * (r + 1));
            }
        }
    }
}

void buildBench(benchmark::State& state, BlockingPass pass) {
    static Model maze;
    if (maze.faces.empty()) buildMaze(maze, 40);
    const ObjModel& model = maze.get();
    TileBoard board;
    QuietCout quiet;
    for (auto _ : state) {
        board.build(model, 0.25f, SearchStyle::Gridroute, pass);
        benchmark::DoNotOptimize(board.tiles);
    }
    int blocked = 0;
    for (int i = 0; i < board.tileCount(); ++i) blocked += board.tiles[i].blocked;
    state.counters["triangles"] = double(model.totalFaceCount);
    state.counters["tiles"] = double(board.tileCount());
    state.counters["blocked"] = double(blocked);
}

const char* methodName(SearchMethod m) {
    switch (m) {
        case BreadthFirst: return "BreadthFirst";
        case Dijkstra: return "Dijkstra";
        case AStarManhattan: return "AStarManhattan";
        case AStarBreakingTies: return "AStarBreakingTies";
    }
    return "";
}

void registerAll() {
    struct Size {
        int side;
        const char* tiles;
    } sizes[] = {{100, "10000"}, {316, "100000"}, {1000, "1000000"}};
    const SearchMethod methods[] = {BreadthFirst, Dijkstra, AStarManhattan, AStarBreakingTies};
    for (const Size& size : sizes) {
        for (SearchMethod m : methods) {
            std::string base = std::string("BM_Search/") + methodName(m) + "/" + size.tiles;
            benchmark::RegisterBenchmark((base + "/index").c_str(), searchBench, m, size.side, true)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
            // The scan costs tiles x expansions; it is run only where that stays within a
            // few seconds: every method at 10k tiles, and A* Breaking Ties, which expands
            // little more than the path, at 100k.
            bool scanFeasible = size.side <= 100 || (m == AStarBreakingTies && size.side <= 316);
            if (scanFeasible) {
                benchmark::RegisterBenchmark((base + "/scan").c_str(), searchBench, m, size.side, false)
                    ->UseManualTime()
                    ->Unit(benchmark::kMillisecond);
            }
        }
    }
    benchmark::RegisterBenchmark("BM_BoardBuild/range", buildBench, BlockingPass::TileRange)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_BoardBuild/alltiles", buildBench, BlockingPass::AllTiles)
        ->Unit(benchmark::kMillisecond);
}

}  // namespace

int main(int argc, char** argv) {
    registerAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
