#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "apps/streamview/flow_field.h"
#include "apps/streamview/particle_system.h"
#include "tests/apps/streamview/field_fixture.h"

namespace {

// A particle placed by hand: at rest, tracked in the given cell.
Particle placed(int cell, float x, float z) {
    Particle p;
    p.position = Vector3(x, 0.2f, z);
    p.timeStep = 0.03f;
    p.cellIndex = cell;
    return p;
}

TEST(Particles, FirstFrameEmitsAtCellZeroAndAdvancesIt) {
    FlowField field;
    ReleaseCells releaseField(field);
    buildUniform(field, 32, 32, 64);  // arrows along +z
    ParticleSystem system;
    system.update(0, field);
    ASSERT_EQ(system.particles.size(), 1u);
    const Particle& p = system.particles[0];
    const FlowCell& cell = field.cells[0];
    EXPECT_EQ(p.cellIndex, 0);
    EXPECT_FLOAT_EQ(p.timeStep, 0.03f);
    EXPECT_FLOAT_EQ(p.position.y, 0.2f);
    EXPECT_NEAR(p.velocity.x, cell.direction.x, 1e-6);
    EXPECT_NEAR(p.velocity.z, cell.direction.z, 1e-6);
    // One step of 0.03 times the arrow from the centre of cell 0.
    EXPECT_NEAR(p.position.x, -3.1f + 0.03f * cell.direction.x, 1e-6);
    EXPECT_NEAR(p.position.z, -3.1f + 0.003f, 1e-6);
}

// The three 1e-7 terms add 2e-7 per step; divided by 0.05 the velocity settles 4e-6 above the
// arrow on both axes, also on an axis whose arrow component is 0. Each step rounds to float, so
// near 0.1 the velocity stops within a few units in the last place (7.5e-9 each) of that mark.
TEST(Particles, VelocitySettlesOnTheArrowPlusFourMillionths) {
    for (int red : {0, 128, 200}) {
        SCOPED_TRACE(red);
        FlowField field;
        ReleaseCells releaseField(field);
        buildUniform(field, 32, 32, red);
        ParticleSystem system;
        system.particles.push_back(placed(528, field.cells[528].position.x, field.cells[528].position.z));
        for (int step = 0; step < 600; ++step) {
            system.update(-1, field);  // no emission
        }
        ASSERT_EQ(system.particles.size(), 1u);
        const Particle& p = system.particles[0];
        EXPECT_NEAR(p.velocity.x, field.cells[0].direction.x + 4e-6, 1e-7);
        EXPECT_NEAR(p.velocity.z, field.cells[0].direction.z + 4e-6, 1e-7);
        EXPECT_FLOAT_EQ(p.position.y, 0.2f);
    }
}

// A particle changes cell only once it has passed the centre of the neighbour, one full pitch
// (0.2) from its own cell's centre. On a 40 x 30 field one step in x is 30 cells.
TEST(Particles, CellChangesOnlyBeyondTheNeighboursCentre) {
    FlowField field;
    ReleaseCells releaseField(field);
    buildUniform(field, 40, 30, 0);
    const int home = 20 * 30 + 15;
    const float cx = field.cells[home].position.x;
    const float cz = field.cells[home].position.z;
    struct Case {
        float dx, dz;
        int expected;
    } cases[] = {
        {0.0f, 0.0f, home},
        {0.15f, 0.0f, home},   // past the border with the neighbour, not past its centre
        {0.19f, -0.19f, home},
        {0.21f, 0.0f, home + 30},
        {-0.21f, 0.0f, home - 30},
        {0.0f, 0.21f, home + 1},
        {0.0f, -0.21f, home - 1},
        {0.21f, 0.21f, home + 31},  // both axes in one step
        {-0.21f, 0.21f, home - 29},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dx << ", " << c.dz);
        ParticleSystem system;
        system.particles.push_back(placed(home, cx + c.dx, cz + c.dz));
        system.update(-1, field);
        EXPECT_EQ(system.particles[0].cellIndex, c.expected);
    }
}

// Moving along an arrow of length 0.1 the particle covers about 0.003 per step, so it takes
// about 67 steps to reach the neighbour's centre; it switches right after crossing it.
TEST(Particles, DriftingParticleSwitchesCellAfterCrossingTheNeighboursCentre) {
    struct Case {
        int red;
        int indexStep;  // +x is +height = +30, +z is +1
    } cases[] = {{128, 30}, {0, -30}, {64, 1}, {191, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.red);
        FlowField field;
        ReleaseCells releaseField(field);
        buildUniform(field, 40, 30, c.red);
        const int home = 20 * 30 + 15;
        ParticleSystem system;
        system.update(home, field);
        int steps = 1;
        while (system.particles[0].cellIndex == home && steps < 200) {
            system.update(-1, field);
            ++steps;
        }
        const Particle& p = system.particles[0];
        EXPECT_EQ(p.cellIndex, home + c.indexStep);
        EXPECT_GE(steps, 66);
        EXPECT_LE(steps, 69);
        const FlowCell& cell = field.cells[home];
        float travelled = std::fabs(p.position.x - cell.position.x) + std::fabs(p.position.z - cell.position.z);
        EXPECT_GT(travelled, 0.2f);
        EXPECT_LT(travelled, 0.2f + 0.004f);
    }
}

// Half a pitch beyond an edge of the ground the particle is tracked in cell 0 but keeps its
// position and velocity; there cell 0's arrow steers it.
TEST(Particles, LeavingTheFieldResetsOnlyTheCell) {
    std::vector<unsigned char> pixels = makePixels(40, 30, [](int s) { return s == 0 ? 64 : 128; });
    FlowField field;
    ReleaseCells releaseField(field);
    {
        ConsoleCapture quiet;
        field.build(40, 30, pixels.data(), 3);
    }
    // Ground: x from -4 to 4, z from -3 to 3; the limits lie 0.1 beyond.
    struct Case {
        const char* edge;
        int cell;
        float x, z;
    } cases[] = {
        {"-z", 20 * 30, 0.0f, -3.11f},
        {"-x", 15, -4.11f, 0.0f},
        {"+z", 20 * 30 + 29, 0.0f, 3.11f},
        {"+x", 39 * 30 + 15, 4.11f, 0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.edge);
        ParticleSystem system;
        Particle p = placed(c.cell, c.x, c.z);
        p.velocity = Vector3(0.01f, 0.0f, 0.02f);
        system.particles.push_back(p);
        system.update(-1, field);
        const Particle& after = system.particles[0];
        EXPECT_EQ(after.cellIndex, 0);
        EXPECT_NEAR(after.position.x, c.x + 0.03f * after.velocity.x, 1e-5);
        EXPECT_NEAR(after.position.z, c.z + 0.03f * after.velocity.z, 1e-5);
        EXPECT_GT(after.velocity.z, 0.01f);  // eased towards its old cell's +x arrow, not reset
        EXPECT_FLOAT_EQ(after.position.y, 0.2f);
    }

    // Beyond the +x edge for good: steered by cell 0's +z arrow, index 0 after every step.
    ParticleSystem outside;
    outside.particles.push_back(placed(39 * 30 + 15, 5.0f, 0.0f));
    for (int step = 0; step < 200; ++step) {
        outside.update(-1, field);
        ASSERT_EQ(outside.particles[0].cellIndex, 0) << step;
    }
    EXPECT_NEAR(outside.particles[0].velocity.z, 0.1f, 1e-4);
}

// On fields whose arrows all point one way every particle leaves the ground sooner or later;
// the tracked cell stays inside the field throughout.
TEST(Particles, TrackedCellStaysInsideTheField) {
    for (int red : {0, 32, 64, 96, 128, 160, 191, 223}) {
        SCOPED_TRACE(red);
        FlowField field;
        ReleaseCells releaseField(field);
        buildUniform(field, 12, 9, red);
        ParticleSystem system;
        int counter = 0;
        for (int frame = 0; frame < 2000; ++frame) {
            system.update(nextEmitCell(counter), field);
            for (const Particle& p : system.particles) {
                ASSERT_GE(p.cellIndex, 0);
                ASSERT_LT(p.cellIndex, field.cellCount);
            }
        }
        for (const Particle& p : system.particles) {
            bool outside = std::fabs(p.position.x) > 1.3f || std::fabs(p.position.z) > 1.0f;
            EXPECT_TRUE(outside);
        }
    }
}

// Frame m releases a particle at cell m until 1000 exist; the counter keeps cycling 0..1023.
TEST(Particles, EmissionScheduleStopsAtOneThousand) {
    FlowField field;
    ReleaseCells releaseField(field);
    buildUniform(field, 32, 32, 64);
    ParticleSystem system;
    int counter = 0;
    for (int frame = 0; frame < 2100; ++frame) {
        int cell = nextEmitCell(counter);
        ASSERT_EQ(cell, frame % 1024);
        system.update(cell, field);
        ASSERT_EQ(system.particles.size(), size_t(std::min(frame + 1, 1000)));
        if (frame == 999) {
            const Particle& newest = system.particles[999];
            EXPECT_NEAR(newest.position.x, field.cells[999].position.x, 0.01);
            EXPECT_NEAR(newest.position.z, field.cells[999].position.z, 0.01);
        }
    }
}

// Fewer cells than the schedule's 1024: particles start only in cells that exist; without cells
// nothing is released or moved.
TEST(Particles, SmallAndEmptyFields) {
    FlowField small;
    ReleaseCells releaseSmall(small);
    buildUniform(small, 10, 10, 128);
    ParticleSystem system;
    int counter = 0;
    for (int frame = 0; frame < 1024; ++frame) {
        system.update(nextEmitCell(counter), small);
    }
    EXPECT_EQ(system.particles.size(), 100u);
    for (int frame = 0; frame < 50; ++frame) {
        system.update(nextEmitCell(counter), small);
    }
    EXPECT_EQ(system.particles.size(), 150u);
    EXPECT_NEAR(system.particles[100].position.x, small.cells[0].position.x, 0.2);

    FlowField empty;

    ReleaseCells releaseEmpty(empty);
    {
        ConsoleCapture quiet;
        empty.build(0, 0, nullptr, 0);
    }
    ParticleSystem none;
    none.particles.push_back(placed(0, 1.0f, 1.0f));
    for (int cell = 0; cell < 5; ++cell) {
        none.update(cell, empty);
    }
    ASSERT_EQ(none.particles.size(), 1u);
    EXPECT_EQ(none.particles[0].position.x, 1.0f);
}

}  // namespace
