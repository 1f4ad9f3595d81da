#include "tools/mazekit/images.h"

#include <algorithm>
#include <cmath>

#include "tools/mazekit/random.h"

static const double pi = 3.14159265358979323846;

static unsigned char clampByte(double v) {
    return static_cast<unsigned char>(std::min(255.0, std::max(0.0, std::floor(v + 0.5))));
}

RgbImage surfaceImage() {
    RgbImage image(64, 64);
    MazeRandom random(7);
    for (int r = 0; r < 64; ++r) {
        for (int c = 0; c < 64; ++c) {
            // Blocks 32 wide and 16 high, every other course shifted by half a block.
            bool joint = r % 16 == 8 || (c + (r / 16 % 2) * 16) % 32 == 24;
            double grain = random.below(13) - 6;
            unsigned char* p = image.pixel(r, c);
            double shade = joint ? -34 : grain;
            p[0] = clampByte(surfaceTint[0] + shade);
            p[1] = clampByte(surfaceTint[1] + shade);
            p[2] = clampByte(surfaceTint[2] + shade * 0.9);
        }
    }
    const int corners[4][2] = {{0, 0}, {0, 63}, {63, 0}, {63, 63}};
    for (const auto& rc : corners) {
        unsigned char* p = image.pixel(rc[0], rc[1]);
        p[0] = surfaceTint[0];
        p[1] = surfaceTint[1];
        p[2] = surfaceTint[2];
    }
    return image;
}

unsigned char headingRed(double dx, double dz) {
    if (dx == 0.0 && dz == 0.0) return 0;
    double angle = std::atan2(dz, -dx);  // the arrow is (-cos, sin)
    if (angle < 0) angle += 2 * pi;
    long r = std::lround(angle / (2 * pi / 255));
    return static_cast<unsigned char>(r % 255);
}

// Stream function of the two eddies: sin(2 pi u) sin(pi v) over the unit square, zero on
// its border, positive in one half and negative in the other.
static double eddyStream(double x, double z) {
    double u = (x + 3.2) / 6.4, v = (z + 3.2) / 6.4;
    return std::sin(2 * pi * u) * std::sin(pi * v);
}

void eddyFlow(double x, double z, double& dx, double& dz) {
    double u = (x + 3.2) / 6.4, v = (z + 3.2) / 6.4;
    // Velocity along the stream lines: (d psi / dz, -d psi / dx), up to a common factor.
    double vx = pi * std::sin(2 * pi * u) * std::cos(pi * v);
    double vz = -2 * pi * std::cos(2 * pi * u) * std::sin(pi * v);
    double length = std::sqrt(vx * vx + vz * vz);
    if (length > 0) {
        vx /= length;
        vz /= length;
    }
    // Particles steer by the cell they last passed the centre of, so they drift outwards on
    // curved paths; beyond 2.2 from the middle a pull of up to 0.3 brings them back.
    double edge = std::max(std::fabs(x), std::fabs(z));
    if (edge > 2.2) {
        double pull = 0.3 * (edge - 2.2);
        vx -= pull * x / edge;
        vz -= pull * z / edge;
    }
    dx = vx;
    dz = vz;
}

RgbImage flowImage() {
    RgbImage image(32, 32);
    for (int row = 0; row < 32; ++row) {
        for (int column = 0; column < 32; ++column) {
            unsigned char* p = image.pixel(row, column);
            // Red: the heading of the cell whose x index is the row and z index the column.
            double dx, dz;
            eddyFlow((row - 15.5) * 0.2, (column - 15.5) * 0.2, dx, dz);
            p[0] = headingRed(dx, dz);
            // Green and blue: the picture as it lies on the ground, column along x, row along z.
            double depth = std::fabs(eddyStream((column - 15.5) * 0.2, (row - 15.5) * 0.2));
            double ripple = std::sin(column * 0.9 + row * 0.35) * std::sin(row * 0.7 - column * 0.2);
            p[1] = clampByte(150 + 60 * (1 - depth) + 10 * ripple);
            p[2] = clampByte(120 + 115 * depth + 10 * ripple);
        }
    }
    return image;
}
