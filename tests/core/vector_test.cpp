#include <gtest/gtest.h>

#include <cmath>

#include "core/vector.h"

namespace {

void expectVec(Vector3 v, float x, float y, float z) {
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
}

TEST(Vector, CrossProductOperandOrder) {
    struct Case {
        Vector3 a, b, expected;
    } cases[] = {
        {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
        {{0, 1, 0}, {1, 0, 0}, {0, 0, -1}},
        {{0, 2, 0}, {0, 5, 0}, {0, 0, 0}},
        // Looking along -z with y up, the camera's right is +x.
        {{0, 0, -6}, {0, 1, 0}, {6, 0, 0}},
    };
    for (const Case& c : cases) {
        expectVec(cross(c.a, c.b), c.expected.x, c.expected.y, c.expected.z);
    }
}

TEST(Vector, LengthAndNormalisation) {
    Vector3 v(3, 0, 4);
    EXPECT_FLOAT_EQ(magnitude(v), 5.0f);
    expectVec(normalize(v), 0.6f, 0.0f, 0.8f);
    expectVec(v, 3, 0, 4);  // the argument is untouched

    Vector3 w(0, 0, 2);
    w.normalizeInPlace();
    expectVec(w, 0, 0, 1);
}

TEST(Vector, ZeroLengthNormalisesToZeroNotNaN) {
    Vector3 n = normalize(Vector3());
    expectVec(n, 0, 0, 0);
    Vector3 w;
    w.normalizeInPlace();
    expectVec(w, 0, 0, 0);
    EXPECT_FALSE(std::isnan(n.x) || std::isnan(w.x));
}

TEST(Vector, ComponentArithmeticAndDefaults) {
    expectVec(Vector3(1, 2, 3) - Vector3(1, 1, 1), 0, 1, 2);
    expectVec(Vector3(1, 2, 3) + Vector3(1, 1, 1), 2, 3, 4);
    expectVec(Vector3(2, 4, 6) / 2.0f, 1, 2, 3);
    expectVec(Vector3(), 0, 0, 0);
    Vector2 t;
    EXPECT_EQ(t.u, 0.0f);
    EXPECT_EQ(t.v, 0.0f);
}

}  // namespace
