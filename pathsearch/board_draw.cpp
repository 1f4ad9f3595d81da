// Drawing the board: the extent's corner points and one flat quad per tile.
#include "pathsearch/tile_board.h"

#include <GL/gl.h>

void TileBoard::draw() const {
    glDisable(GL_LIGHTING);
    glPointSize(1.0f);
    glBegin(GL_POINTS);
    glColor3f(1.0f, 1.0f, 1.0f);
    glVertex3f(minX, 0.0f, maxZ);
    glColor3f(1.0f, 1.0f, 1.0f);
    glVertex3f(minX, 0.0f, minZ);
    glColor3f(1.0f, 1.0f, 1.0f);
    glVertex3f(maxX, 0.0f, maxZ);
    glColor3f(1.0f, 1.0f, 1.0f);
    glVertex3f(maxX, 0.0f, minZ);
    glEnd();

    glBegin(GL_QUADS);
    int count = tileCount();
    for (int i = 0; i < count; ++i) {
        const Tile& t = tiles[i];
        glColor3f(t.colour[0], t.colour[1], t.colour[2]);
        glVertex3f(t.maxX, 0.0f, t.minZ);
        glColor3f(t.colour[0], t.colour[1], t.colour[2]);
        glVertex3f(t.minX, 0.0f, t.minZ);
        glColor3f(t.colour[0], t.colour[1], t.colour[2]);
        glVertex3f(t.minX, 0.0f, t.maxZ);
        glColor3f(t.colour[0], t.colour[1], t.colour[2]);
        glVertex3f(t.maxX, 0.0f, t.maxZ);
    }
    glEnd();
    glEnable(GL_LIGHTING);
}
