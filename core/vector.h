// Vector3 and Vector2: the one vector type of every scene (y is up) and texture coordinates.
#pragma once

class Vector3 {
public:
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    Vector3() = default;
    Vector3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

    Vector3 operator+(Vector3 b) const { return Vector3(x + b.x, y + b.y, z + b.z); }
    Vector3 operator-(Vector3 b) const { return Vector3(x - b.x, y - b.y, z - b.z); }
    // Divides each component by s itself; no reciprocal is formed first.
    Vector3 operator/(float s) const { return Vector3(x / s, y / s, z / s); }

    // Divides x, y and z by the length, formed and kept in double precision.
    // A zero-length vector is left as it is (0, 0, 0) instead of turning into NaN.
    void normalizeInPlace();
};

class Vector2 {
public:
    float u = 0.0f;
    float v = 0.0f;
};

// a x b in this operand order: cross((1,0,0), (0,1,0)) = (0,0,1).
Vector3 cross(Vector3 a, Vector3 b);
// Euclidean length; sum and square root in double precision, rounded to float.
float magnitude(Vector3 v);
// v / magnitude(v); a zero-length vector gives (0, 0, 0) instead of NaN components.
Vector3 normalize(Vector3 v);
