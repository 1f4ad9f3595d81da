#include "tools/mazekit/obj_write.h"

#include <cstdio>

static void appendNumber(std::string& out, double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, " %.6g", value == 0.0 ? 0.0 : value);  // no "-0"
    out += buffer;
}

std::string objText(const std::vector<WallBox>& boxes, const std::string& title) {
    std::string out = "# " + title.substr(0, 90) + "\n";
    out += "# " + std::to_string(boxes.size()) + " wall blocks, " +
           std::to_string(boxes.size() * 10) + " triangles\n";
    out += "o maze\n";
    // Corner k of a box: bit 0 picks max x, bit 1 max z, bit 2 the top.
    for (const WallBox& b : boxes) {
        for (int k = 0; k < 8; ++k) {
            out += "v";
            appendNumber(out, (k & 1) ? b.maxX : b.minX);
            appendNumber(out, (k & 4) ? b.height : 0.0);
            appendNumber(out, (k & 2) ? b.maxZ : b.minZ);
            out += "\n";
        }
    }
    out += "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n";
    // Normals 1..5: up, -x, +x, -z, +z.
    out += "vn 0 1 0\nvn -1 0 0\nvn 1 0 0\nvn 0 0 -1\nvn 0 0 1\n";
    // Each side as four corners counter-clockwise seen from outside, with its normal.
    struct Side {
        int corner[4];
        int normal;
    };
    static const Side sides[5] = {
        {{4, 6, 7, 5}, 1},  // top: (minX,minZ) (minX,maxZ) (maxX,maxZ) (maxX,minZ) seen from above
        {{0, 2, 6, 4}, 2},  // -x side
        {{1, 5, 7, 3}, 3},  // +x side
        {{0, 4, 5, 1}, 4},  // -z side
        {{2, 3, 7, 6}, 5},  // +z side
    };
    for (size_t n = 0; n < boxes.size(); ++n) {
        const int base = static_cast<int>(n) * 8 + 1;
        for (const Side& s : sides) {
            const int triangles[2][3] = {{0, 1, 2}, {0, 2, 3}};
            for (const auto& t : triangles) {
                out += "f";
                for (int corner : t) {
                    out += " " + std::to_string(base + s.corner[corner]) + "/" +
                           std::to_string(corner + 1) + "/" + std::to_string(s.normal);
                }
                out += "\n";
            }
        }
    }
    return out;
}

bool writeTextFile(const std::string& path, const std::string& text) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    ok = std::fclose(f) == 0 && ok;
    return ok;
}
