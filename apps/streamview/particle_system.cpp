#include "apps/streamview/particle_system.h"

#include <GL/gl.h>

#include <cstddef>

void ParticleSystem::update(int emitCell, const FlowField& field) {
    if (field.cellCount <= 0) {
        return;
    }
    Particle fresh;
    if (particles.size() < size_t(maxParticles) && emitCell >= 0 && emitCell < field.cellCount) {
        const FlowCell& c = field.cells[emitCell];
        fresh.velocity = c.direction;
        fresh.position = Vector3(c.position.x, 0.2f, c.position.z);
        fresh.timeStep = 0.03f;
        fresh.cellIndex = emitCell;
        particles.push_back(fresh);
    }

    const FlowCell& first = field.cells[0];
    const FlowCell& last = field.cells[field.cellCount - 1];
    int columnStep = int(field.height);
    for (Particle& p : particles) {
        // Every test below uses the cell read here, even after cellIndex has changed.
        const FlowCell& c = field.cells[p.cellIndex];

        p.velocity.x = float((double(p.velocity.x) + 1e-7) * 0.95 + (double(c.direction.x) + 1e-7) * 0.05 + 1e-7);
        p.velocity.z = float((double(p.velocity.z) + 1e-7) * 0.95 + (double(c.direction.z) + 1e-7) * 0.05 + 1e-7);

        float dx = p.velocity.x * p.timeStep;
        float dz = p.velocity.z * p.timeStep;
        p.position.x = float(double(dx) + double(p.position.x) + 1e-7);
        p.position.z = float(double(dz) + double(p.position.z) + 1e-7);

        // A particle changes cell only once it has passed the neighbour's centre.
        if (c.position.x + field.cellSizeX < p.position.x) {
            p.cellIndex += columnStep;
        }
        if (c.position.x - field.cellSizeX > p.position.x) {
            p.cellIndex -= columnStep;
        }
        if (c.position.z + field.cellSizeZ < p.position.z) {
            p.cellIndex += 1;
        }
        if (c.position.z - field.cellSizeZ > p.position.z) {
            p.cellIndex -= 1;
        }

        // Half a pitch beyond the ground's edge the particle is tracked in cell 0; it keeps its
        // position and velocity. These are the limits of the border cells above, so cellIndex
        // always ends inside the field.
        if (first.position.z - field.cellSizeZ > p.position.z) {
            p.cellIndex = 0;
        }
        if (first.position.x - field.cellSizeX > p.position.x) {
            p.cellIndex = 0;
        }
        if (last.position.z + field.cellSizeZ < p.position.z) {
            p.cellIndex = 0;
        }
        if (last.position.x + field.cellSizeX < p.position.x) {
            p.cellIndex = 0;
        }
    }
}

void ParticleSystem::draw() const {
    glPointSize(8.0f);
    for (const Particle& p : particles) {
        glBegin(GL_POINTS);
        glColor3f(1.0f, 1.0f, 1.0f);
        glVertex3f(p.position.x, p.position.y, p.position.z);
        glEnd();

        glBegin(GL_LINES);
        glColor3f(0.5f, 0.5f, 0.5f);
        glVertex3f(p.position.x, p.position.y, p.position.z);
        glColor3f(1.0f, 1.0f, 1.0f);
        glVertex3f(p.position.x + p.velocity.x, p.position.y, p.position.z + p.velocity.z);
        glEnd();
    }
    glColor3f(0.4f, 0.4f, 0.4f);
}

int nextEmitCell(int& frameCounter) {
    if (frameCounter > 1023) {
        frameCounter = 0;
    }
    return frameCounter++;
}
