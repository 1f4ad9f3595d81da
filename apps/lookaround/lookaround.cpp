// lookaround: the free-look camera over one smooth-shaded triangle. Arrow keys walk (the eye height
// stays), the mouse turns the view, End quits. main and the callbacks come from the window shell.
#include <GL/freeglut.h>
#include <GL/glu.h>

#include "core/camera.h"
#include "core/key_state.h"
#include "core/window_shell.h"

KeyState keyState;
Camera camera{CameraVariant::Lookaround, keyState};

void initScene() {
    glEnable(GL_DEPTH_TEST);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glShadeModel(GL_SMOOTH);
    glutSetCursor(GLUT_CURSOR_NONE);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 1.0, 0.5, 150.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    // Six units in front of the triangle, at half its height, looking at it.
    camera.setPose(0.0f, 0.5f, 6.0f, 0.0f, 0.5f, 0.0f, 0.0f, 1.0f, 0.0f);
}

void display() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    camera.applyView();

    // In the plane z = 0, counter-clockwise seen from +z; no culling, so both sides show.
    glBegin(GL_TRIANGLES);
    glColor3f(1.0f, 0.2f, 0.0f);
    glVertex3f(1.0f, 0.0f, 0.0f);
    glColor3f(1.0f, 1.0f, 0.0f);
    glVertex3f(0.0f, 1.0f, 0.0f);
    glColor3f(0.0f, 0.2f, 1.0f);
    glVertex3f(-1.0f, 0.0f, 0.0f);
    glEnd();

    glutSwapBuffers();
    camera.update();
}
