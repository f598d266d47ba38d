#include "math/vec3.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Vec3, LengthNormalizeAndFlooredDivision) {
    Vec3 v(3, 4, 0);
    EXPECT_EQ(v.length(), 5.0f);
    v.normalize();
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_FLOAT_EQ(v.y, 0.8f);
    EXPECT_EQ(v.z, 0.0f);

    Vec3 zero(0, 0, 0);
    zero.normalize();
    EXPECT_EQ(zero.x, 0.0f);
    EXPECT_EQ(zero.y, 0.0f);
    EXPECT_EQ(zero.z, 0.0f);
    Vec3 tiny(0.00003f, 0, 0);
    tiny.normalize();
    EXPECT_FLOAT_EQ(tiny.x, 0.3f); // scaled by 10000, still shorter than 1

    for (float d : {0.0f, -2.0f, std::nanf("")}) {
        const Vec3 q = Vec3(1, -2, 3) / d;
        EXPECT_FLOAT_EQ(q.x, 10000.0f);
        EXPECT_FLOAT_EQ(q.y, -20000.0f);
        Vec3 w(1, -2, 3);
        w /= d;
        EXPECT_FLOAT_EQ(w.z, 30000.0f);
    }
    const Vec3 half = Vec3(1, 2, 3) / 2.0f;
    EXPECT_EQ(half.z, 1.5f);
}

TEST(Vec3, ArithmeticAndCross) {
    const Vec3 c = Vec3(1, 0, 0).cross(Vec3(0, 1, 0));
    EXPECT_EQ(c.x, 0.0f);
    EXPECT_EQ(c.y, 0.0f);
    EXPECT_EQ(c.z, 1.0f);
    EXPECT_EQ(Vec3(1, 2, 3).dot(Vec3(4, -5, 6)), 12.0f);
    Vec3 a(1, 2, 3);
    a += Vec3(1, 1, 1);
    a -= Vec3(0, 2, 0);
    float s = 2.0f;
    a *= s;
    EXPECT_EQ(a.x, 4.0f);
    EXPECT_EQ(a.y, 2.0f);
    EXPECT_EQ(a.z, 8.0f);
    const Vec3 b = (a - Vec3(4, 2, 8)) + Vec3(1, 1, 1) * s;
    EXPECT_EQ(b.x, 2.0f);
    EXPECT_EQ(b.z, 2.0f);
}

TEST(Angles, Angle2FollowsAtan2) {
    EXPECT_EQ(angle2(0, 0), 0.0f);
    EXPECT_FLOAT_EQ(angle2(1, 0), float(M_PI / 2));
    EXPECT_FLOAT_EQ(angle2(0, -1), float(M_PI));
    EXPECT_FLOAT_EQ(angle2(-1, 0), float(-M_PI / 2));
}

TEST(Angles, AimAnglesWithItsSignedZeroCases) {
    float elevation = 1, heading = 1;
    const Vec3 origin(0, 0, 0);
    aimAngles(origin, Vec3(0, 0, -5), elevation, heading);
    EXPECT_EQ(elevation, 0.0f);
    EXPECT_EQ(heading, 0.0f);
    aimAngles(origin, Vec3(3, 0, 0), elevation, heading);
    EXPECT_FLOAT_EQ(heading, -90.00003f);
    aimAngles(origin, Vec3(0, 2, 0), elevation, heading);
    EXPECT_FLOAT_EQ(elevation, 90.00003f);
    EXPECT_FLOAT_EQ(heading, -180.00006f); // atan2(+0, -0) is pi
    aimAngles(Vec3(1, 1, 1), Vec3(1, 1, 1), elevation, heading);
    EXPECT_EQ(elevation, 0.0f);
    EXPECT_FLOAT_EQ(heading, -180.00006f);
}
