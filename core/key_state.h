// KeyState: which GLUT special keys are held right now, one byte per key code.
#pragma once

class KeyState {
public:
    unsigned char entry[256] = {};

    // Codes outside 0..255 are never stored and never read as held.
    bool held(int code) const { return code >= 0 && code < 256 && entry[code] != 0; }
    void press(int code) { if (code >= 0 && code < 256) entry[code] = 1; }
    void release(int code) { if (code >= 0 && code < 256) entry[code] = 0; }
};
