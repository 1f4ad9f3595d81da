// streamview: particles drifting over a flow field read from "32_sample4.tga", the image laid
// on the ground under them, seen through the free-look camera. The window shell supplies main
// and the input callbacks; this module supplies the scene.
#include <GL/freeglut.h>

#include <iostream>

#include "apps/streamview/flow_field.h"
#include "apps/streamview/particle_system.h"
#include "assets/texture.h"
#include "core/window_shell.h"

KeyState keyState;
Camera camera{CameraVariant::Streamview, keyState};

namespace {

Texture image;
int textureName = 0;
FlowField field;
ParticleSystem particles;
int frameCounter = 0;
float groundMinX = 0.0f;
float groundMaxX = 0.0f;
float groundMinZ = 0.0f;
float groundMaxZ = 0.0f;

}  // namespace

void initScene() {
    std::cout << "push: " << 1.0f / (1.0f - 12.0f) << std::endl;
    image.loadTga("32_sample4.tga");
    image.upload(textureName);
    glutSetCursor(GLUT_CURSOR_NONE);
    camera.setupProjection();
    camera.setPose(0, 0.5f, 6, 0, 0.5f, 0, 0, 1, 0);

    short w = image.width();
    short h = image.height();
    groundMaxX = float(w) / 10.0f;
    groundMinX = -groundMaxX;
    groundMaxZ = float(h) / 10.0f;
    groundMinZ = -groundMaxZ;
    field.build(float(w), float(h), image.pixels(), image.bytesPerPixel);
}

void display() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    camera.applyView();

    // The ground takes the current colour, which the drawing below leaves at 40 % grey: only
    // the first frame shows the image at full brightness.
    glPushMatrix();
    glBindTexture(GL_TEXTURE_2D, textureName);
    glEnable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex3f(groundMinX, 0, groundMinZ);
    glTexCoord2f(1, 0);
    glVertex3f(groundMaxX, 0, groundMinZ);
    glTexCoord2f(1, 1);
    glVertex3f(groundMaxX, 0, groundMaxZ);
    glTexCoord2f(0, 1);
    glVertex3f(groundMinX, 0, groundMaxZ);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();

    field.draw();
    particles.update(nextEmitCell(frameCounter), field);
    particles.draw();
    glutSwapBuffers();
    camera.update();
}
