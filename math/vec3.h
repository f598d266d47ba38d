// The three-component single-precision vector, and the two angle helpers that turn a direction into angles.
#pragma once

// Floor of every length or divisor before a division.
constexpr float VEC_EPSILON = 0.0001f;
// Degrees per radian as the animation has always used it: slightly off 180/pi, so a right angle reads
// 90.00003. Kept so that aimed poses stay where they were.
constexpr float DEG_PER_RAD = 57.2958f;

class Vec3 {
  public:
    float x;
    float y;
    float z;

    Vec3(float x, float y, float z) : x(x), y(y), z(z) {}
    Vec3(const Vec3& other) = default;
    Vec3& operator=(const Vec3& other) = default;
    virtual ~Vec3() = default;

    void set(float nx, float ny, float nz) {
        x = nx;
        y = ny;
        z = nz;
    }
    float length() const;
    Vec3& normalize();
    float dot(Vec3 b) const;
    Vec3 cross(Vec3 b) const;

    Vec3& operator+=(const Vec3& b);
    Vec3& operator-=(const Vec3& b);
    Vec3& operator*=(const float& s);
    Vec3& operator/=(const float& s);
};

Vec3 operator+(const Vec3& a, const Vec3& b);
Vec3 operator-(const Vec3& a, const Vec3& b);
Vec3 operator*(const Vec3& v, const float& s);
Vec3 operator/(const Vec3& v, const float& s);

// atan2 with a as the ordinate, radians in (-pi, pi].
float angle2(float a, float b);
// Elevation and heading in degrees that point a body at `from` towards `to`.
void aimAngles(const Vec3& from, const Vec3& to, float& elevation, float& heading);
