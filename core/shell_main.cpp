// main of lookaround, tilewalk and streamview: one 800 x 800 double-buffered window with a depth
// buffer, the program's scene set-up, the shell's callbacks, then the GLUT main loop.
#include <GL/freeglut.h>

#include "core/window_shell.h"

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(800, 800);
    glutInitWindowPosition(120, 120);
    glutCreateWindow("camera class's ");

    // The window and its GL context exist from here on.
    initScene();

    glutSpecialFunc(specialKeyDown);
    glutSpecialUpFunc(specialKeyUp);
    glutMouseFunc(mouseButton);
    glutMotionFunc(mouseMotion);
    glutPassiveMotionFunc(mouseMotion);
    glutDisplayFunc(display);
    glutIdleFunc(idle);

    glutMainLoop();
    return 0;
}
