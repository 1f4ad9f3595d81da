#include "core/camera.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdlib>

namespace {

// The window is 800 x 800; the mouse look measures from its middle and warps back there.
const int windowCentre = 400;

// GLUT special-key codes the camera reads.
const int keyLeft = GLUT_KEY_LEFT;    // 100
const int keyUp = GLUT_KEY_UP;        // 101
const int keyRight = GLUT_KEY_RIGHT;  // 102
const int keyDown = GLUT_KEY_DOWN;    // 103
const int keyHome = GLUT_KEY_HOME;    // 106
const int keyEnd = GLUT_KEY_END;      // 107

const float walkSpeed = 0.03f;
const float riseSpeed = 0.09f;

// A usable direction: finite and not of zero length.
bool isUsableDirection(Vector3 v) {
    bool finite = std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
    bool nonZero = v.x != 0.0f || v.y != 0.0f || v.z != 0.0f;
    return finite && nonZero;
}

}  // namespace

void Camera::setPose(float px, float py, float pz, float vx, float vy, float vz, float ux, float uy,
                     float uz) {
    position = Vector3(px, py, pz);
    view = Vector3(vx, vy, vz);
    up = Vector3(ux, uy, uz);
}

void Camera::setupProjection() {
    glEnable(GL_DEPTH_TEST);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 1.0, 0.5, 150.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void Camera::applyView() {
    gluLookAt(position.x, position.y, position.z, view.x, view.y, view.z, up.x, up.y, up.z);
}

void Camera::moveAlongView(float speed) {
    // The viewing direction is not normalised: its length scales the step.
    Vector3 vStorage = view - position;
    switch (variant) {
    case CameraVariant::Lookaround:
        // Walking: the eye height stays.
        position.x = position.x + vStorage.x * speed;
        position.z = position.z + vStorage.z * speed;
        view.x = view.x + vStorage.x * speed;
        view.z = view.z + vStorage.z * speed;
        break;
    case CameraVariant::Tilewalk:
        position.x = position.x + vStorage.x * speed;
        position.y = position.y + vStorage.y * speed;
        position.z = position.z + vStorage.z * speed;
        view.x = view.x + vStorage.x * speed;
        view.y = view.y + vStorage.y * speed;
        view.z = view.z + vStorage.z * speed;
        break;
    case CameraVariant::Streamview:
        position.x = position.x + vStorage.x * speed / 2.0f;
        position.y = position.y + vStorage.y * speed / 2.0f;
        position.z = position.z + vStorage.z * speed / 2.0f;
        view.x = view.x + vStorage.x * speed / 2.0f;
        view.y = view.y + vStorage.y * speed / 2.0f;
        view.z = view.z + vStorage.z * speed / 2.0f;
        break;
    }
}

void Camera::strafeSideways(float speed) {
    // Only x and z move. In streamview the eye moves three times as far as the view point, so a
    // sideways step also turns the view.
    float eyeScale = 1.0f;
    float viewScale = 1.0f;
    if (variant == CameraVariant::Tilewalk) {
        eyeScale = 2.0f;
        viewScale = 2.0f;
    } else if (variant == CameraVariant::Streamview) {
        eyeScale = 3.0f;
    }
    position.x = position.x + eyeScale * strafe.x * speed;
    position.z = position.z + eyeScale * strafe.z * speed;
    view.x = view.x + viewScale * strafe.x * speed;
    view.z = view.z + viewScale * strafe.z * speed;
}

void Camera::rise(float speed) {
    position.y = position.y + speed * up.y / 2.0f;
    view.y = view.y + speed * up.y / 2.0f;
}

void Camera::rotateAroundAxis(float angle, float x, float y, float z) {
    Vector3 v = view - position;
    float c = float(std::cos(double(angle)));
    float s = float(std::sin(double(angle)));
    float t = 1.0f - c;

    Vector3 turned;
    turned.x = (c + t * x * x) * v.x + (t * x * y - z * s) * v.y + (t * x * z + y * s) * v.z;
    turned.y = (t * x * y + z * s) * v.x + (c + t * y * y) * v.y + (t * y * z - x * s) * v.z;
    turned.z = (t * x * z - y * s) * v.x + (t * y * z + x * s) * v.y + (c + t * z * z) * v.z;

    view = position + turned;
}

void Camera::lookWithMouse(int mouseX, int mouseY) {
    // The warp below produces exactly this event; it must not turn the view again.
    if (mouseX == windowCentre && mouseY == windowCentre) {
        return;
    }
    glutWarpPointer(windowCentre, windowCentre);

    // One pixel is 0.001 radian; a pointer above or left of the centre gives a positive angle.
    float angleY = float(windowCentre - mouseX) / 1000.0f;
    float angleZ = float(windowCentre - mouseY) / 1000.0f;

    // Tilt about the camera's right. When the view points exactly along up that axis has no
    // length; the last strafe vector (the right of the previous frame) stands in for it, and
    // with none known yet the tilt is left out, so the view never collapses.
    Vector3 vAxis = normalize(cross(view - position, up));
    if (!isUsableDirection(vAxis)) {
        vAxis = strafe;
    }
    if (isUsableDirection(vAxis)) {
        rotateAroundAxis(angleZ, vAxis.x, vAxis.y, vAxis.z);
    }
    // Turn about the world's y axis, not about up.
    rotateAroundAxis(angleY, 0.0f, 1.0f, 0.0f);
}

void Camera::update() {
    // The strafe vector comes from the pose before this call's moves. A viewing direction
    // parallel to up gives no right vector: the previous one is kept then.
    Vector3 axisToMoveAlong = cross(view - position, up);
    Vector3 newStrafe = normalize(axisToMoveAlong);
    if (isUsableDirection(newStrafe)) {
        strafe = newStrafe;
    }

    if (keys->held(keyLeft)) {
        strafeSideways(-walkSpeed);
    }
    if (keys->held(keyRight)) {
        strafeSideways(walkSpeed);
    }
    if (keys->held(keyUp)) {
        moveAlongView(walkSpeed);
    }
    if (keys->held(keyDown)) {
        moveAlongView(-walkSpeed);
    }
    if (variant == CameraVariant::Streamview && keys->held(keyHome)) {
        rise(riseSpeed);
    }
    if (keys->held(keyEnd)) {
        if (variant == CameraVariant::Streamview) {
            rise(-riseSpeed);
        } else {
            std::exit(0);
        }
    }

    applyView();
    glutPostRedisplay();
}
