// Writes wall boxes as a triangulated OBJ file in the subset the maze viewers read: all vertex
// data first, then faces whose every corner is vertex/texture/normal.
#pragma once

#include <string>
#include <vector>

#include "tools/mazekit/wall_boxes.h"

// The OBJ text. Each box gives 8 vertices and 10 triangles (top and four sides, no bottom):
// nothing lies flat on the ground, so only the walls block tiles. Triangles wind
// counter-clockwise seen from outside, and their normals point outwards.
// `title` becomes the first comment line (keep it short and on one line).
std::string objText(const std::vector<WallBox>& boxes, const std::string& title);

// Writes `text` to `path`; false when the file cannot be written.
bool writeTextFile(const std::string& path, const std::string& text);
