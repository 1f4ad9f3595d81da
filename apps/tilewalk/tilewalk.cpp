// tilewalk: one maze, one tile board, one search from tile 44 to tile 11111 advancing one step per
// displayed frame, watched through the free-look camera (arrow keys fly, the mouse turns the view,
// End quits). main and the callbacks come from the window shell.
#include <GL/freeglut.h>

#include <cstdio>
#include <iostream>

#include "assets/light.h"
#include "assets/model_draw.h"
#include "assets/obj_loader.h"
#include "assets/obj_model.h"
#include "assets/texture.h"
#include "core/camera.h"
#include "core/key_state.h"
#include "core/window_shell.h"
#include "pathsearch/path_search.h"
#include "pathsearch/tile_board.h"

namespace {

const char* const mazeFile = "maze1.obj";
const char* const textureFile = "file.tga";
const float tileSize = 0.3f;
const int startTile = 44;
const int goalTile = 11111;

const float lightAmbient[4] = {0.4f, 0.4f, 0.4f, 1.0f};
const float lightDiffuse[4] = {0.6f, 0.6f, 0.6f, 1.0f};
const float lightPosition[4] = {4.0f, 3.0f, 1.0f, 0.0f};  // directional

}  // namespace

KeyState keyState;
Camera camera{CameraVariant::Tilewalk, keyState};
Texture mazeMaterial;  // used only for its material values
objLoader mazeLoader;
Texture mazeTexture;
Light sceneLight{lightAmbient, lightDiffuse, lightPosition};
ObjModel mazeModel;
TileBoard board;
PathSearch search{SearchStyle::Tilewalk};
int textureName = 0;

void initScene() {
    mazeLoader.import(mazeModel, mazeFile);
    board.build(mazeModel, tileSize, SearchStyle::Tilewalk);

    mazeTexture.loadTga(textureFile);
    mazeTexture.upload(textureName);
    mazeMaterial.applyMaterial();

    // The position is given while the model-view matrix is the identity: for the first frame
    // the light stands relative to the eye.
    sceneLight.init();
    sceneLight.applyPosition();
    // The texture and light lines are written printf-style without a flush; push them out now,
    // so a console read through a pipe shows the whole start-up before the first frame.
    std::fflush(stdout);

    glutSetCursor(GLUT_CURSOR_NONE);
    camera.setupProjection();
    // 52.5 above the maze, looking down; z is 0.1 so the view is not parallel to up.
    camera.setPose(0.0f, 52.5f, 0.1f, 0.0f, 0.5f, 0.0f, 0.0f, 1.0f, 0.0f);

    // Start and goal must both be tiles of the board; a missing or small maze gives fewer.
    int tiles = board.tileCount();
    if (tiles <= goalTile || tiles <= startTile) {
        std::cout << "no search: the board has " << tiles << " tiles, too few for start tile "
                  << startTile << " and goal tile " << goalTile << std::endl;
        return;
    }
    search.init(board, startTile, goalTile);
}

void display() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    camera.applyView();

    glPushMatrix();
    drawModel(mazeModel, Vector3(1.0f, 1.0f, 1.0f));
    glPopMatrix();

    glDisable(GL_LIGHTING);
    board.draw();
    glEnable(GL_LIGHTING);

    glutSwapBuffers();

    // Under this frame's view: from the second frame on the light keeps its place in the scene.
    sceneLight.applyPosition();
    camera.update();
    // One search step per displayed frame; its colours show in the next frame. Without a started
    // search (board too small) the step does nothing.
    search.step();
}
