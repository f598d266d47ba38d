// A body in the scene: position, orientation in degrees, their rates, and a few ready-made motions.
// The camera holds one and the frame pipeline writes its position and rotation every frame.
#pragma once

#include <cstdint>

#include "math/vec3.h"

// Phase offsets of the sine paths; nothing changes them.
extern const float PATH_PHASES[5];

class Transform {
  public:
    std::int32_t mode = 0; // 1 orbit-and-aim, 2 drift, anything else no motion
    std::int32_t wrapAngles = 0;
    float shakeAmount = 0.0f;
    struct {
        float x, y, z;
    } shakeFreq = {40.0f, 50.0f, 60.0f};
    float pathPace = 1.0f;
    float turnPace = 1.0f;
    Vec3 position{0, 0, 0};
    Vec3 velocity{0, 0, 0};
    Vec3 acceleration{0, 0, 0};
    Vec3 rotation{0, 0, 0}; // x pitch, y heading, z roll
    Vec3 spin{0, 0, 0};
    Vec3 pathAmplitude{0, 0, 0};
    Vec3 pathCentre{0, 0, 0};
    Vec3 turnAmplitude{0, 0, 0};
    Vec3 turnCentre{0, 0, 0};
    Vec3 shakeOffset{0, 0, 0};
    Vec3 target{0, 0, 0};

    Transform();
    virtual ~Transform() = default;

    void reset();
    void applyToMatrix() const;
    void integrate(float dt);
    void turn(float dt);
    void shake(float dt);
    void animate(float t, float u);
};
