// The input and frame callbacks of the window shell. They reach the program's keyState and camera
// directly; main (shell_main.cpp) registers them.
#include "core/window_shell.h"

namespace {

// GLUT delivers special-key codes 1 to 12 and 100 to 108. Anything outside 0..127 is not a key
// this table records and is ignored, so no code can address outside it.
bool isRecordedKey(int key) { return key >= 0 && key < 128; }

}  // namespace

void specialKeyDown(int key, int, int) {
    if (isRecordedKey(key)) {
        keyState.press(key);
    }
}

void specialKeyUp(int key, int, int) {
    if (isRecordedKey(key)) {
        keyState.release(key);
    }
}

// Mouse buttons have no effect: the view follows the pointer whether or not one is held.
void mouseButton(int, int, int, int) {}

void mouseMotion(int x, int y) { camera.lookWithMouse(x, y); }

void idle() { camera.update(); }
