// Board drawing and the cursor marker on a real GL context: a small board rendered from above
// and read back pixel by pixel.
#include "pathsearch/path_search.h"
#include "tests/pathsearch/board_fixtures.h"
#include "tests/support/gl_window.h"

#include <GL/gl.h>

namespace {

class BoardDrawTest : public GlWindowTest {
protected:
    TileBoard board;
    float x0 = 0, x1 = 0, z0 = 0, z1 = 0;

    // Looks straight down at the whole grid: x to the right, z downwards on screen.
    void viewFromAbove() {
        x0 = board.tiles[0].minX;
        z0 = board.tiles[0].minZ;
        x1 = board.tiles[board.tileCount() - 1].maxX;
        z1 = board.tiles[board.tileCount() - 1].maxZ;
        glViewport(0, 0, 800, 800);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(x0, x1, -z1, -z0, -10.0, 10.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glRotatef(90.0f, 1.0f, 0.0f, 0.0f);  // world y towards the viewer, screen up = -z
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    int pixelX(float x) const { return int((x - x0) / (x1 - x0) * 800.0f); }
    int pixelY(float z) const { return int((z1 - z) / (z1 - z0) * 800.0f); }
    Rgb at(float x, float z) const { return readBackPixel(pixelX(x), pixelY(z)); }
};

void expectColour(Rgb p, const float rgb[3], const char* what) {
    SCOPED_TRACE(what);
    EXPECT_NEAR(p.r, rgb[0] * 255.0f, 1.0f);
    EXPECT_NEAR(p.g, rgb[1] * 255.0f, 1.0f);
    EXPECT_NEAR(p.b, rgb[2] * 255.0f, 1.0f);
}

TEST_F(BoardDrawTest, EveryTileShowsItsColour) {
    // A finished search in the tilewalk style leaves all six colours on the board.
    buildMapBoard(board, {"....", ".##.", "...."}, 1.0f, SearchStyle::Tilewalk);
    PathSearch search(SearchStyle::Tilewalk);
    search.init(board, 0, 11);
    {
        CoutCapture quiet;
        for (int n = 0; n < 10; ++n) search.step();
    }
    viewFromAbove();
    glDisable(GL_LIGHTING);
    board.draw();
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    GLfloat pointSize = 0;
    glGetFloatv(GL_POINT_SIZE, &pointSize);
    EXPECT_EQ(pointSize, 1.0f);
    for (int i = 0; i < board.tileCount(); ++i) {
        const Tile& t = board.tiles[i];
        std::string name = "tile " + std::to_string(i);
        // Off the centre: the extent's corner point sits on the centre of tile 6.
        expectColour(at(t.centre.x + 0.2f, t.centre.z - 0.2f), t.colour, name.c_str());
        // near the tile's corners too: the quad covers the whole square
        expectColour(at(t.minX + 0.05f, t.minZ + 0.05f), t.colour, name.c_str());
        expectColour(at(t.maxX - 0.05f, t.maxZ - 0.05f), t.colour, name.c_str());
    }
    const float white[3] = {1.0f, 1.0f, 1.0f};
    const float blue[3] = {0.0f, 0.5f, 0.7f};
    expectColour(at(1.5f, 2.5f), kTilewalkFreeColour, "free");
    expectColour(at(0.5f, 1.5f), blue, "opened");
    expectColour(at(0.5f, 0.5f), white, "start");
    expectColour(at(3.5f, 2.5f), kGoalColour, "goal");
    expectColour(at(2.5f, 0.5f), kTilewalkPathColour, "path");
    expectColour(at(1.5f, 1.5f), kBlockedColour, "blocked");
}

TEST_F(BoardDrawTest, ExtentCornerIsMarkedWithAWhitePoint) {
    // The extent ends at (2.499, 1.499), inside the blocked tile 6; the quad drawn after the
    // point at the same depth does not cover it.
    buildMapBoard(board, {"....", "..#.", "...."}, 1.0f, SearchStyle::Gridroute);
    viewFromAbove();
    board.draw();
    int px = pixelX(board.maxX);
    int py = pixelY(board.maxZ);
    int white = 0;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            Rgb p = readBackPixel(px + dx, py + dy);
            white += p.r == 255 && p.g == 255 && p.b == 255;
        }
    }
    EXPECT_GE(white, 1);
    expectColour(readBackPixel(px + 20, py + 20), kBlockedColour, "beside the point");
}

TEST_F(BoardDrawTest, CursorMarkerFloatsAboveTheCursorTile) {
    buildMapBoard(board, {"....", "..#.", "...."}, 1.0f, SearchStyle::Gridroute);
    PathSearch search(SearchStyle::Gridroute);
    search.init(board, 0, 9);
    viewFromAbove();
    glDisable(GL_LIGHTING);
    search.handleControls(KeyState());
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    GLfloat pointSize = 0;
    glGetFloatv(GL_POINT_SIZE, &pointSize);
    EXPECT_EQ(pointSize, 12.0f);
    board.draw();  // drawn after the marker, but below it
    const float marker[3] = {0.4f, 0.6f, 0.4f};
    const Vector3& c = board.tiles[9].centre;
    int px = pixelX(c.x);
    int py = pixelY(c.z);
    expectColour(readBackPixel(px, py), marker, "centre");
    expectColour(readBackPixel(px + 4, py - 4), marker, "inside the 12-pixel point");
    expectColour(readBackPixel(px + 12, py), kGridrouteFreeColour, "beside the point");
    // The marker is not drawn over any other tile.
    expectColour(at(0.5f, 2.5f), kGridrouteFreeColour, "tile 8");
}

}  // namespace
