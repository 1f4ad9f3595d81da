// The window shell shared by lookaround, tilewalk and streamview: main, the special-key table and
// the mouse and idle callbacks. Link the core_shell library and define these four in the
// program's main module.
#pragma once

#include "core/camera.h"
#include "core/key_state.h"

extern KeyState keyState;
extern Camera camera;
void initScene();
void display();

void specialKeyDown(int key, int x, int y);
void specialKeyUp(int key, int x, int y);
void mouseButton(int button, int state, int x, int y);
void mouseMotion(int x, int y);
void idle();
