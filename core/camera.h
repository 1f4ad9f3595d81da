// Camera: the free-look first-person view of lookaround, tilewalk and streamview.
// One class; the program picks its variant when it constructs its camera.
#pragma once

#include "core/key_state.h"
#include "core/vector.h"

enum class CameraVariant { Lookaround, Tilewalk, Streamview };

class Camera {
public:
    Vector3 position{0.0f, 0.0f, 0.0f};
    Vector3 view{0.0f, 1.0f, 0.5f};
    Vector3 up{0.0f, 0.0f, 1.0f};
    Vector3 strafe;

    CameraVariant variant;
    const KeyState* keys;  // the program's held-key table, read once per update

    Camera(CameraVariant variant_, const KeyState& keys_) : variant(variant_), keys(&keys_) {}

    void setPose(float px, float py, float pz, float vx, float vy, float vz, float ux, float uy, float uz);
    void setupProjection();
    void applyView();
    void moveAlongView(float speed);
    void strafeSideways(float speed);
    void rise(float speed);
    void rotateAroundAxis(float angle, float x, float y, float z);
    void lookWithMouse(int mouseX, int mouseY);
    void update();
};
