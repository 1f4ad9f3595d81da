// The data files the build writes into the run folder, read the way the viewers read them:
// with the project's own OBJ loader, tile board, search, TGA loader, flow field and particles.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "apps/streamview/flow_field.h"
#include "apps/streamview/particle_system.h"
#include "assets/obj_loader.h"
#include "assets/texture.h"
#include "pathsearch/path_search.h"
#include "pathsearch/tile_board.h"
#include "tools/mazekit/images.h"
#include "tools/searchkit/search_runs.h"

namespace {

const std::string runDir = VIEWERS_RUN_DIR;

// maze<n>.obj loaded with the viewers' loader; the arrays are given back at the end.
class MazeModel {
public:
    ObjModel m;
    explicit MazeModel(int n) { EXPECT_TRUE(loadMaze(m, runDir + "/maze" + std::to_string(n) + ".obj")) << n; }
    ~MazeModel() { releaseModel(m); }
    MazeModel(const MazeModel&) = delete;
    MazeModel& operator=(const MazeModel&) = delete;
};

// Breadth-first distances over free tiles from every tile in `from`; -1 where unreachable.
std::vector<int> distances(const TileBoard& board, const std::vector<int>& from) {
    const int columns = board.lastColumn + 1;
    std::vector<int> d(board.tileCount(), -1);
    std::vector<int> queue;
    for (int t : from) {
        if (!board.tiles[t].blocked && d[t] < 0) {
            d[t] = 0;
            queue.push_back(t);
        }
    }
    for (size_t k = 0; k < queue.size(); ++k) {
        int t = queue[k];
        int c = t % columns, r = t / columns;
        int next[4] = {c > 0 ? t - 1 : -1, c < board.lastColumn ? t + 1 : -1, r > 0 ? t - columns : -1,
                       r < board.lastRow ? t + columns : -1};
        for (int n : next) {
            if (n >= 0 && !board.tiles[n].blocked && d[n] < 0) {
                d[n] = d[t] + 1;
                queue.push_back(n);
            }
        }
    }
    return d;
}

std::vector<unsigned char> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

// Walls only: upright, axis-aligned faces with outward normals, standing on y = 0, nothing lying
// on the ground, the whole maze centred and small enough for the viewers' cameras.
TEST(MazeFiles, WallsOnlyCentredWithOutwardNormals) {
    for (int n = 1; n <= 6; ++n) {
        MazeModel maze(n);
        const ObjModel& m = maze.m;
        ASSERT_GT(m.totalFaceCount, 0) << n;
        EXPECT_EQ(m.frameCount, 1) << n;
        EXPECT_EQ(m.faceCount, m.totalFaceCount) << n;
        float minX = 1e9f, maxX = -1e9f, minZ = 1e9f, maxZ = -1e9f, minY = 1e9f, maxY = -1e9f;
        for (int f = 0; f < m.totalFaceCount; ++f) {
            ASSERT_TRUE(faceIsUsable(m, f, true)) << n << " face " << f;
            const ObjFace& face = m.faces[f];
            Vector3 v[3];
            for (int k = 0; k < 3; ++k) {
                ASSERT_GE(face.texCoordIndex[k], 0);
                ASSERT_LT(face.texCoordIndex[k], m.texCoordArrayLength);
                v[k] = m.vertices[face.vertexIndex[k]];
                minX = std::min(minX, v[k].x), maxX = std::max(maxX, v[k].x);
                minY = std::min(minY, v[k].y), maxY = std::max(maxY, v[k].y);
                minZ = std::min(minZ, v[k].z), maxZ = std::max(maxZ, v[k].z);
            }
            bool flatOnGround = v[0].y == 0 && v[1].y == 0 && v[2].y == 0;
            EXPECT_FALSE(flatOnGround) << n << " face " << f;
            bool axisAligned = (v[0].x == v[1].x && v[1].x == v[2].x) || (v[0].y == v[1].y && v[1].y == v[2].y) ||
                               (v[0].z == v[1].z && v[1].z == v[2].z);
            EXPECT_TRUE(axisAligned) << n << " face " << f;
            // The stored normal agrees with the winding and points away from the middle of
            // the block the face belongs to (each block has 8 vertices of its own).
            Vector3 normal = m.normals[face.normalIndex[0]];
            Vector3 windingNormal = cross(v[1] - v[0], v[2] - v[0]);
            EXPECT_GT(normal.x * windingNormal.x + normal.y * windingNormal.y + normal.z * windingNormal.z, 0)
                << n << " face " << f;
            int block = face.vertexIndex[0] / 8;
            Vector3 middle;
            for (int k = 0; k < 8; ++k) middle = middle + m.vertices[block * 8 + k] / 8.0f;
            Vector3 centroid = (v[0] + v[1] + v[2]) / 3.0f;
            Vector3 out = centroid - middle;
            EXPECT_GT(normal.x * out.x + normal.y * out.y + normal.z * out.z, 0) << n << " face " << f;
            EXPECT_NEAR(magnitude(normal), 1.0f, 1e-6f);
        }
        EXPECT_EQ(minY, 0.0f) << n;
        EXPECT_GE(maxY, 0.8f) << n;  // tall enough that gridroute skips the tops, as intended
        EXPECT_LE(maxY, 1.5f) << n;
        EXPECT_LT(std::fabs(minX + maxX), 0.5f) << n;
        EXPECT_LT(std::fabs(minZ + maxZ), 0.5f) << n;
        EXPECT_LE(maxX - minX, 36.5f) << n;
        EXPECT_LE(maxZ - minZ, 36.5f) << n;
    }
}

// tilewalk searches maze1 at tile size 0.3 from tile 44 to tile 11111, one expansion a frame.
TEST(MazeFiles, Maze1GivesTilewalkAWindingPath) {
    MazeModel maze(1);
    TileBoard board;
    buildBoard(board, maze.m, 0.3f, SearchStyle::Tilewalk);
    ASSERT_GT(board.tileCount(), 11111);
    EXPECT_FALSE(board.tiles[44].blocked);
    EXPECT_FALSE(board.tiles[11111].blocked);

    PathSearch search(SearchStyle::Tilewalk);
    std::ostringstream console;
    std::streambuf* old = std::cout.rdbuf(console.rdbuf());
    search.init(board, 44, 11111);
    while (search.running && search.cycles_taken < 200000) search.step();
    std::cout.rdbuf(old);
    ASSERT_TRUE(board.tiles[11111].closed) << console.str();
    EXPECT_EQ(console.str(), "cycles_taken: " + std::to_string(search.cycles_taken) + "\n");

    int pathTiles = 0;
    for (int t = 11111; t != -1 && pathTiles <= board.tileCount(); t = board.tiles[t].parent) ++pathTiles;
    const int columns = board.lastColumn + 1;
    int straight = std::abs(11111 % columns - 44 % columns) + std::abs(11111 / columns - 44 / columns) + 1;
    EXPECT_GT(pathTiles, 3 * straight) << "the path should wind through the maze";
}

// gridroute's boards over maze2 to maze6: every free tile can be reached from tile 0, where the
// cursor starts, which is free itself and on the board's border; so any two free tiles are
// connected and no free region is shut off from the border. The way from tile 0 to the far
// corner is much longer than the straight line: the walls make a maze at every size.
TEST(MazeFiles, GridrouteBoardsAreOneConnectedMaze) {
    for (int n = 2; n <= 6; ++n) {
        MazeModel maze(n);
        for (float tileSize : {0.25f, 0.5f, 1.0f}) {
            TileBoard board;
            buildBoard(board, maze.m, tileSize, SearchStyle::Gridroute);
            const int last = board.tileCount() - 1;
            ASSERT_FALSE(board.tiles[0].blocked) << n << " " << tileSize;
            std::vector<int> d = distances(board, {0});
            int free = 0, blocked = 0;
            for (int t = 0; t <= last; ++t) {
                if (board.tiles[t].blocked) {
                    ++blocked;
                } else {
                    ++free;
                    EXPECT_GE(d[t], 0) << "maze" << n << " size " << tileSize << ": tile " << t << " shut off";
                }
            }
            EXPECT_GT(blocked, board.tileCount() / 10) << n << " " << tileSize;
            EXPECT_GT(free, board.tileCount() / 3) << n << " " << tileSize;
            ASSERT_FALSE(board.tiles[last].blocked);
            EXPECT_GT(d[last], 7 * (board.lastColumn + board.lastRow) / 5) << n << " " << tileSize;
        }
    }
}

TEST(ImageFiles, HeadersAsTheLoaderReadsThem) {
    struct Case {
        const char* name;
        int width, height;
    } cases[] = {{"file.tga", 64, 64}, {"32_sample4.tga", 32, 32}};
    for (const Case& c : cases) {
        std::vector<unsigned char> bytes = fileBytes(runDir + "/" + c.name);
        ASSERT_EQ(bytes.size(), size_t(18 + c.width * c.height * 3)) << c.name;
        EXPECT_EQ(bytes[0], 0);   // no image ID
        EXPECT_EQ(bytes[1], 0);   // no colour map
        EXPECT_EQ(bytes[2], 2);   // uncompressed true colour
        EXPECT_EQ(bytes[12] | bytes[13] << 8, c.width);
        EXPECT_EQ(bytes[14] | bytes[15] << 8, c.height);
        EXPECT_EQ(bytes[16], 24);
        Texture texture;
        texture.loadTga((runDir + "/" + c.name).c_str());
        std::fflush(stdout);
        EXPECT_EQ(texture.bytesPerPixel, 3);
        EXPECT_EQ(texture.width(), c.width);
        EXPECT_EQ(texture.height(), c.height);
        texture.releaseImage();
    }
}

// The maze is tinted by the blend of the surface image's four corner texels.
TEST(ImageFiles, SurfaceCornersCarryTheTint) {
    Texture texture;
    texture.loadTga((runDir + "/file.tga").c_str());
    std::fflush(stdout);
    ASSERT_NE(texture.pixels(), nullptr);
    const int w = texture.width(), h = texture.height();
    for (int corner : {0, w - 1, (h - 1) * w, h * w - 1}) {
        for (int k = 0; k < 3; ++k) EXPECT_EQ(texture.pixels()[corner * 3 + k], surfaceTint[k]) << corner;
    }
    texture.releaseImage();
}

// The flow image as streamview reads it: two eddies turning opposite ways, the ground picture
// deepest blue over their cores, and particles that keep drifting over the ground.
TEST(ImageFiles, FlowImageHoldsTwoEddiesThatKeepParticlesOnTheGround) {
    Texture image;
    image.loadTga((runDir + "/32_sample4.tga").c_str());
    std::fflush(stdout);
    ASSERT_NE(image.pixels(), nullptr);
    FlowField field;
    {
        CoutCapture quiet;
        field.build(image.width(), image.height(), image.pixels(), image.bytesPerPixel);
    }
    ASSERT_EQ(field.cellCount, 1024);

    // Turning sense around each eddy centre (x = -1.6 and 1.6, z = 0): the y component of
    // (cell position - centre) x arrow, summed over a ring of cells, and the share of arrows
    // in the ring running across the radius (tangential), which is high in an eddy.
    for (double side : {-1.0, 1.0}) {
        double turn = 0, tangential = 0;
        int ring = 0;
        for (int s = 0; s < field.cellCount; ++s) {
            double rx = field.cells[s].position.x - side * 1.6, rz = field.cells[s].position.z;
            double r = std::sqrt(rx * rx + rz * rz);
            if (r < 0.5 || r > 1.3) continue;
            double dx = field.cells[s].direction.x, dz = field.cells[s].direction.z;
            double cr = (rz * dx - rx * dz) / (r * 0.1);
            turn += cr;
            tangential += std::fabs(cr);
            ++ring;
        }
        ASSERT_GT(ring, 20);
        EXPECT_GT(tangential / ring, 0.8) << side;
        EXPECT_GT(side * turn / ring, 0.8) << "eddies turn opposite ways: " << side;
    }

    // The ground lies with image columns along x and rows along z: blue is deepest at the eddy
    // cores (column 7 or 8 and 23 or 24, row 15 or 16) and lowest along the edges.
    auto blue = [&](int row, int column) { return image.pixels()[(row * 32 + column) * 3 + 2]; };
    EXPECT_GT(blue(16, 8), blue(0, 8) + 80);
    EXPECT_GT(blue(15, 23), blue(16, 31) + 80);

    ParticleSystem particles;
    int frameCounter = 0;
    for (int frame = 0; frame < 8000; ++frame) particles.update(nextEmitCell(frameCounter), field);
    int onGround = 0;
    for (const Particle& p : particles.particles) {
        onGround += std::fabs(p.position.x) < 3.3f && std::fabs(p.position.z) < 3.3f ? 1 : 0;
    }
    EXPECT_GE(onGround, 990);
    delete[] field.cells;
    image.releaseImage();
}

// The generator writes the same bytes every time, and says so when it cannot write.
TEST(Datagen, RepeatsItselfAndReportsFailure) {
    std::string dir = testing::TempDir() + "datagen-test";
    std::string command = std::string("rm -rf '") + dir + "' && mkdir -p '" + dir + "' && '" + DATAGEN_PATH + "' '" + dir + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const char* name : {"maze1.obj", "maze2.obj", "maze3.obj", "maze4.obj", "maze5.obj", "maze6.obj",
                             "file.tga", "32_sample4.tga"}) {
        std::vector<unsigned char> fresh = fileBytes(dir + "/" + name);
        EXPECT_FALSE(fresh.empty()) << name;
        EXPECT_EQ(fresh, fileBytes(runDir + "/" + name)) << name;
    }
    std::string missing = std::string("'") + DATAGEN_PATH + "' '" + dir + "/no/such/folder' 2>/dev/null";
    EXPECT_EQ(WEXITSTATUS(std::system(missing.c_str())), 1);
    std::string usage = std::string("'") + DATAGEN_PATH + "' 2>/dev/null";
    EXPECT_EQ(WEXITSTATUS(std::system(usage.c_str())), 2);
    std::system(("rm -rf '" + dir + "'").c_str());
}
