#include "assets/light.h"

#include <GL/gl.h>

#include <cstdio>

Light::Light(const float (&ambient_)[4], const float (&diffuse_)[4], const float (&position_)[4]) {
    for (int i = 0; i < 4; ++i) {
        ambient[i] = ambient_[i];
        diffuse[i] = diffuse_[i];
        position[i] = position_[i];
    }
}

// Light 0 keeps OpenGL's default specular colour.
void Light::init() {
    std::printf("initialising lighting lighting\n");
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
}

// The position goes through the model-view matrix current at this call.
void Light::applyPosition() {
    glLightfv(GL_LIGHT0, GL_POSITION, position);
}
