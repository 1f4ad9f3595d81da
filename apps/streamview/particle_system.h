// Particles released one per frame onto the flow field; each eases its velocity towards the
// arrow of the cell it tracks, moves, and follows its cell by at most one step along each axis.
#pragma once

#include <vector>

#include "apps/streamview/flow_field.h"
#include "core/vector.h"

struct Particle {
    Vector3 velocity;   // x and z used; y copied from the emitting cell and never read
    Vector3 position;   // y stays 0.2
    float timeStep = 0.0f;  // velocity to movement per step, 0.03 once emitted
    int cellIndex = 0;      // the cell the particle is tracked in

    Particle() = default;
};

// At most this many particles are ever released.
constexpr int maxParticles = 1000;

class ParticleSystem {
public:
    std::vector<Particle> particles;

    // Releases one particle at the centre of cell emitCell while fewer than maxParticles exist
    // and that cell exists, then advances every particle by one step. On a field without cells
    // nothing happens.
    void update(int emitCell, const FlowField& field);
    // A white point with a tail one velocity long per particle, point size 8; leaves the
    // current colour at (0.4, 0.4, 0.4).
    void draw() const;
};

// The emission schedule: the counter runs 0, 1, ..., 1023 and starts again; returns the cell
// for this frame and advances the counter.
int nextEmitCell(int& frameCounter);
