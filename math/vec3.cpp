// Vector arithmetic; every divisor and length is floored so nothing divides by zero.
#include "math/vec3.h"

#include <cmath>

namespace {
// Negative, zero and NaN divisors all become the floor.
float flooredDivisor(float s) { return s >= VEC_EPSILON ? s : VEC_EPSILON; }
} // namespace

float Vec3::length() const { return std::sqrt(x * x + y * y + z * z); }

Vec3& Vec3::normalize() {
    float l = length();
    if (!(l >= VEC_EPSILON)) l = VEC_EPSILON;
    const float k = 1.0f / l;
    x *= k;
    y *= k;
    z *= k;
    return *this;
}

float Vec3::dot(Vec3 b) const { return x * b.x + y * b.y + z * b.z; }

Vec3 Vec3::cross(Vec3 b) const { return Vec3(y * b.z - z * b.y, z * b.x - x * b.z, x * b.y - y * b.x); }

Vec3& Vec3::operator+=(const Vec3& b) {
    x += b.x;
    y += b.y;
    z += b.z;
    return *this;
}

Vec3& Vec3::operator-=(const Vec3& b) {
    x -= b.x;
    y -= b.y;
    z -= b.z;
    return *this;
}

Vec3& Vec3::operator*=(const float& s) {
    x *= s;
    y *= s;
    z *= s;
    return *this;
}

Vec3& Vec3::operator/=(const float& s) {
    const float d = flooredDivisor(s);
    x /= d;
    y /= d;
    z /= d;
    return *this;
}

Vec3 operator+(const Vec3& a, const Vec3& b) { return Vec3(a.x + b.x, a.y + b.y, a.z + b.z); }
Vec3 operator-(const Vec3& a, const Vec3& b) { return Vec3(a.x - b.x, a.y - b.y, a.z - b.z); }
Vec3 operator*(const Vec3& v, const float& s) { return Vec3(v.x * s, v.y * s, v.z * s); }

Vec3 operator/(const Vec3& v, const float& s) {
    const float d = flooredDivisor(s);
    return Vec3(v.x / d, v.y / d, v.z / d);
}

float angle2(float a, float b) {
    float l = std::sqrt(a * a + b * b);
    if (!(l >= VEC_EPSILON)) l = VEC_EPSILON;
    const float na = a / l;
    const float nb = b / l;
    return std::atan2(na, nb);
}

void aimAngles(const Vec3& from, const Vec3& to, float& elevation, float& heading) {
    Vec3 d = to - from;
    d.normalize();
    heading = -(angle2(d.x, -d.z) * DEG_PER_RAD);
    const float h = std::sqrt(d.x * d.x + d.z * d.z);
    elevation = angle2(d.y, h) * DEG_PER_RAD;
}
