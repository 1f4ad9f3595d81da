// The two pictures the viewers load: the maze surface and the flow field with its ground.
#pragma once

#include "tools/mazekit/tga_write.h"

// Colour of the maze walls: the viewers sample the surface image at texture coordinate (0, 0)
// with linear magnification and repeat wrapping, which blends the four corner texels. All four
// are this colour, a warm sandstone.
constexpr unsigned char surfaceTint[3] = {214, 196, 160};

// 64 x 64 sandstone blocks with darker joints and a little grain; the corners are surfaceTint.
RgbImage surfaceImage();

// The flow viewer's heading code: red r stands for the angle r * 2 pi / 255, whose arrow on
// the ground is (-cos, sin) in (x, z). The red value (0 .. 254) nearest to the heading of the
// direction (dx, dz); 0 for a zero direction.
unsigned char headingRed(double dx, double dz);

// The flow direction (not normalised) at ground point (x, z) of the 6.4 x 6.4 square around the
// origin: two eddies turning against each other, side by side along x, with a pull towards the
// middle near the edges that keeps drifting particles on the square.
void eddyFlow(double x, double z, double& dx, double& dz);

// 32 x 32 flow image. The viewer reads pixel s = i * 32 + j (row i, column j of the file) as the
// cell at x index i, z index j, so the red channel holds the heading of eddyFlow at cell
// (i, j) = (row, column): transposed against the picture, which lies on the ground with its
// columns along x. Green and blue, drawn as that picture, make a calm blue-green pool that
// is deeper blue in the eddies' cores.
RgbImage flowImage();
