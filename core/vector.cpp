#include "core/vector.h"

#include <cmath>

void Vector3::normalizeInPlace() {
    double length = std::sqrt(double(x) * x + double(y) * y + double(z) * z);
    if (length == 0.0) {
        return;
    }
    x = float(x / length);
    y = float(y / length);
    z = float(z / length);
}

Vector3 cross(Vector3 a, Vector3 b) {
    return Vector3(a.y * b.z - a.z * b.y,
                   a.z * b.x - a.x * b.z,
                   a.x * b.y - a.y * b.x);
}

float magnitude(Vector3 v) {
    return float(std::sqrt(double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z));
}

Vector3 normalize(Vector3 v) {
    float m = magnitude(v);
    if (m == 0.0f) {
        return Vector3();
    }
    return Vector3(v.x / m, v.y / m, v.z / m);
}
