#include "apps/streamview/flow_field.h"

#include <GL/gl.h>

#include <cmath>
#include <cstddef>
#include <iostream>
#include <new>

void FlowField::build(float width_, float height_, const unsigned char* pixels, int bytesPerPixel) {
    width = width_;
    height = height_;

    // Image sizes are 16-bit values: at least one pixel and at most 32767 along each side.
    bool readable = pixels != nullptr && bytesPerPixel == 3 && width >= 1.0f && height >= 1.0f &&
                    width <= 32767.0f && height <= 32767.0f;
    bool tooLarge = readable && double(int(width)) * double(int(height)) > double(kMaxFlowCells);
    if (tooLarge) {
        std::cout << "flow field: the image has more than " << kMaxFlowCells
                  << " pixels, no arrows and no particles" << std::endl;
        readable = false;
    } else if (readable) {
        std::cout << "bob:" << float(pixels[0]) << std::endl;
    } else {
        std::cout << "flow field: the image has no 24-bit pixel data, no arrows and no particles"
                  << std::endl;
    }
    std::cout << "bob:" << flowAngleScale << std::endl;
    std::cout << "temp_x:" << float(std::cos(double(flowAngleScale))) << " "
              << "temp_z:" << float(-std::sin(double(flowAngleScale))) << std::endl;
    if (!readable) {
        return;
    }

    // Whole pixels only: the image sizes are integers, so the columns and rows are too.
    int columns = int(width);
    int rows = int(height);
    cells = new (std::nothrow) FlowCell[size_t(columns) * size_t(rows)];
    if (cells == nullptr) {
        std::cout << "flow field: no memory for " << columns << " x " << rows << " cells" << std::endl;
        return;
    }
    cellCount = columns * rows;

    float minX = -(width / 10.0f);
    float minZ = -(height / 10.0f);
    cellSizeZ = 2.0f * (height / 10.0f) / height;
    cellSizeX = 2.0f * (width / 10.0f) / width;

    Vector3 norm(0.0f, 0.0f, 0.0f);
    size_t s = 0;
    for (int i = 0; i < columns; ++i) {
        for (int j = 0; j < rows; ++j) {
            FlowCell& cell = cells[s];
            cell.position.x = float(i) * cellSizeX + minX + cellSizeX / 2.0f;
            cell.position.z = float(j) * cellSizeZ + minZ + cellSizeZ / 2.0f;

            double theta = double(pixels[3 * s]) * double(flowAngleScale);
            cell.direction.x = float(-std::cos(theta));
            cell.direction.z = float(std::sin(theta));

            norm.x = cell.direction.x;
            norm.z = cell.direction.z;
            norm.normalizeInPlace();
            cell.direction.x = float(norm.x * 0.1);
            cell.direction.z = float(norm.z * 0.1);
            ++s;
        }
    }

    if (cellCount > 11) {
        std::cout << cells[11].direction.z << std::endl;
        std::cout << cells[11].direction.x << std::endl;
    }
    if (cellCount < 1000) {
        std::cout << "flow field: only " << cellCount
                  << " cells, particles are released into existing cells only" << std::endl;
    }
}

void FlowField::draw() const {
    for (int s = 0; s < cellCount; ++s) {
        const FlowCell& cell = cells[s];
        glBegin(GL_LINES);
        glColor3f(0.1f, 0.1f, 0.4f);
        glVertex3f(cell.position.x, 0.0f, cell.position.z);
        glColor3f(0.6f, 0.7f, 1.0f);
        glVertex3f(cell.position.x + cell.direction.x, 0.01f, cell.position.z + cell.direction.z);
        glEnd();
    }
    glColor3f(0.4f, 0.4f, 0.4f);
}
