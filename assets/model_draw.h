// drawModel: one batch of lit triangles with the file's normals, texturing on for the batch.
#pragma once

#include "assets/obj_model.h"
#include "core/vector.h"

// vertexColour is the program's colour given with every vertex (it becomes the current colour).
void drawModel(const ObjModel& model, Vector3 vertexColour);
