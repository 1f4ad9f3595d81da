// gridroute: the maze path-search viewer.
//
// A console dialogue picks one of the mazes maze2.obj .. maze6.obj and the level of detail (the
// edge length of one tile); the program lays a tile grid over the maze's ground plane and then,
// inside the GLUT main loop, advances the search a few expansions per displayed frame while the
// user turns, pans and zooms an orbit view with the mouse. Every object lives here at static
// storage duration; the GLUT callbacks reach them directly.
#include <GL/glut.h>

#include <cstdio>
#include <iostream>

#include "assets/light.h"
#include "assets/model_draw.h"
#include "assets/obj_loader.h"
#include "assets/obj_model.h"
#include "assets/texture.h"
#include "core/key_state.h"
#include "pathsearch/path_search.h"
#include "pathsearch/tile_board.h"

namespace {

// The maze and its grid.
objLoader mazeLoader;
ObjModel mazeModel;
TileBoard board;
PathSearch search(SearchStyle::Gridroute);

// Surface and light: one texture object loads and uploads the image, the other only carries
// the material values.
Texture mazeTexture;
Texture mazeMaterial;
const float lightAmbient[4] = {1.0f, 0.8f, 0.8f, 1.0f};
const float lightDiffuse[4] = {1.0f, 1.0f, 1.0f, 1.0f};
const float lightPosition[4] = {4.0f, 3.0f, 1.0f, 0.0f};
Light sceneLight(lightAmbient, lightDiffuse, lightPosition);
const int textureName = 0;  // the default texture object; nothing else is ever bound

// The colour sent with every vertex of the maze; lit drawing ignores it.
const Vector3 modelVertexColour(0.0f, 0.0f, 0.0f);

// Orbit view: a fixed look-at, then the user's translation and two rotations.
float rotationX = 0.0f;
float rotationY = 0.0f;
float panX = 0.0f;
float panY = 0.0f;
float zoom = 0.0f;
float mouseDeltaX = 0.0f;
float mouseDeltaY = 0.0f;
float lastMouseX = 0.0f;
float lastMouseY = 0.0f;
int leftButtonHeld = 0;
int middleButtonHeld = 0;

// Special keys held right now, read by the search controls once per frame.
KeyState keyState;

const int keyF10 = 10;
const int keyF11 = 11;
const int keyF12 = 12;

void endLine() { std::cout << std::endl; }

void initGraphicsState() {
    glEnable(GL_DEPTH_TEST);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 1.0, 0.5, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void setUpScene(float levelOfDetail) {
    // Written as "not inside" so that a value that compares false both ways can never reach the
    // board build as a tile size.
    if (!(levelOfDetail >= 0.25f && levelOfDetail <= 3.5f)) {
        levelOfDetail = 0.5f;
    }
    board.build(mazeModel, levelOfDetail, SearchStyle::Gridroute);
    mazeTexture.loadTga("file.tga");
    mazeTexture.upload(textureName);
    mazeMaterial.applyMaterial();
    sceneLight.init();
    sceneLight.applyPosition();  // the model-view matrix is still the identity here
    initGraphicsState();
    search.init(board, 0, 0);
    // The texture and light lines are written printf-style without a flush; push them out now,
    // so a console read through a pipe shows the whole start-up before the first frame.
    std::fflush(stdout);
}

const char* mazeFileName(int mapNumber) {
    switch (mapNumber) {
    case 3:
        return "maze3.obj";
    case 4:
        return "maze4.obj";
    case 5:
        return "maze5.obj";
    case 6:
        return "maze6.obj";
    default:
        return "maze2.obj";
    }
}

void initScene() {
    int mapNumber = 0;
    float levelOfDetail = 0.5f;

    endLine();
    std::cout << "DEROZUZADU";
    endLine();
    endLine();
    endLine();
    endLine();
    std::cout << "select Map (range 2 - 6): " << std::flush;
    // After a failed read the stream stays failed, so the second read below does nothing.
    if (!(std::cin >> mapNumber)) {
        mapNumber = 2;
    }
    endLine();
    endLine();
    endLine();
    std::cout << "level of detail: " << std::flush;
    float answer = 0.0f;
    if (std::cin >> answer) {
        levelOfDetail = answer;
    }
    if (mapNumber < 2 || mapNumber > 6) {
        mapNumber = 2;
    }
    mazeLoader.import(mazeModel, mazeFileName(mapNumber));
    setUpScene(levelOfDetail);
}

void applyOrbitView() {
    glLoadIdentity();
    gluLookAt(0.0, 1.0, 50.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    glTranslatef(panX, panY, zoom);
    glRotatef(rotationX, 1.0f, 0.0f, 0.0f);
    glRotatef(rotationY, 0.0f, 1.0f, 0.0f);
    glutPostRedisplay();

    // F12 prints once per press: the search controls saw it in this frame's display pass.
    if (keyState.held(keyF12)) {
        keyState.release(keyF12);
    }
    // The view keys change the state after the matrix was built; they show from the next call.
    if (keyState.held(keyF11)) {
        zoom = 0.0f;
        mouseDeltaX = 0.0f;
        mouseDeltaY = 0.0f;
        panX = 0.0f;
        panY = 0.0f;
        rotationX = 0.0f;
        rotationY = 0.0f;
    }
    if (keyState.held(keyF10)) {
        zoom = 3.6f;
        panX = 1.2f;
        panY = -2.0f;
        rotationX = 88.5f;
        rotationY = -0.5f;
    }
}

void display() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    search.step();
    search.handleControls(keyState);
    drawModel(mazeModel, modelVertexColour);
    glDisable(GL_LIGHTING);
    board.draw();
    glEnable(GL_LIGHTING);
    applyOrbitView();
    glutSwapBuffers();
    sceneLight.applyPosition();  // through the view just built
}

void idle() { applyOrbitView(); }

void mouseButton(int button, int state, int /*x*/, int /*y*/) {
    int pressed = state == GLUT_DOWN ? 1 : 0;
    if (button == GLUT_LEFT_BUTTON) {
        leftButtonHeld = pressed;
    } else if (button == GLUT_MIDDLE_BUTTON) {
        middleButtonHeld = pressed;
    }
    applyOrbitView();
}

void mouseMotion(int x, int y) {
    mouseDeltaX = static_cast<float>(x) - lastMouseX;
    mouseDeltaY = static_cast<float>(y) - lastMouseY;
    if (leftButtonHeld && middleButtonHeld) {
        zoom += 0.2f * mouseDeltaX;
    } else if (leftButtonHeld) {
        rotationX += 0.5f * mouseDeltaY;
        rotationY += 0.5f * mouseDeltaX;
    } else if (middleButtonHeld) {
        panX += 0.2f * mouseDeltaX;
        panY -= 0.2f * mouseDeltaY;
    }
    lastMouseX = static_cast<float>(x);
    lastMouseY = static_cast<float>(y);
    applyOrbitView();
}

// GLUT's own codes all lie inside the table; anything else is shown and ignored.
bool keyInTable(int key) {
    if (key >= 0 && key <= 255) {
        return true;
    }
    std::cout << key << std::endl;
    std::cout.flush();
    return false;
}

void specialKeyDown(int key, int /*x*/, int /*y*/) {
    if (keyInTable(key)) {
        keyState.press(key);
    }
}

void specialKeyUp(int key, int /*x*/, int /*y*/) {
    if (keyInTable(key)) {
        keyState.release(key);
    }
}

void registerCallbacks() {
    glutSpecialFunc(specialKeyDown);
    glutSpecialUpFunc(specialKeyUp);
    glutMouseFunc(mouseButton);
    glutMotionFunc(mouseMotion);
    glutPassiveMotionFunc(mouseMotion);
    glutDisplayFunc(display);
    glutIdleFunc(idle);
}

}  // namespace

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB | GLUT_DEPTH);
    glutInitWindowSize(800, 800);
    glutInitWindowPosition(120, 120);
    glutCreateWindow("VoveZuradoz ");
    try {
        initScene();
        registerCallbacks();
        glutMainLoop();
    } catch (...) {
        std::cout << "caught something\n" << std::flush;
    }
    return 0;
}
