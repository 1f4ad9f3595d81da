#include "assets/model_draw.h"

#include <GL/gl.h>

// No texture coordinates are sent: the whole model samples the bound texture at (0, 0).
// Normals go out as stored. Faces whose vertex or normal indices fall outside the arrays
// (kept by the loader from malformed lines) are left out.
void drawModel(const ObjModel& model, Vector3 vertexColour) {
    glEnable(GL_TEXTURE_2D);
    glBegin(GL_TRIANGLES);
    for (int f = 0; f < model.totalFaceCount; ++f) {
        if (!faceIsUsable(model, f, true)) {
            continue;
        }
        const ObjFace& face = model.faces[f];
        for (int k = 0; k < 3; ++k) {
            const Vector3& n = model.normals[face.normalIndex[k]];
            const Vector3& v = model.vertices[face.vertexIndex[k]];
            glNormal3f(n.x, n.y, n.z);
            glColor3f(vertexColour.x, vertexColour.y, vertexColour.z);
            glVertex3f(v.x, v.y, v.z);
        }
    }
    glEnd();
    glDisable(GL_TEXTURE_2D);
}
