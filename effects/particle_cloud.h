// The particle cloud: up to MAX_PARTICLES camera-facing textured quads on random walks. Drawn large, soft
// and translucent, a handful of them read as drifting haze. All storage is fixed inside the object.
#pragma once

#include <cstdint>

#include "effects/star_field.h"

class Camera;
class Texture;

constexpr std::int32_t MAX_PARTICLES = 5001;

class ParticleCloud {
  public:
    std::int32_t count = 100; // live particles; init lowers it to MAX_PARTICLES
    std::int32_t shape = SHAPE_CUBE;
    std::int32_t alphaTest = 0;
    std::int32_t blend = 1;
    std::int32_t blendSrc = 0; // blendByIndex codes
    std::int32_t blendDst = 0;
    std::int32_t depthTest = 1;
    std::int32_t depthWrite = 0;
    std::int32_t useFog = 0; // read by the frame pipeline
    float alphaRef = 0.05f;
    float alpha = 1.0f;
    float outerSize = 2.0f;
    float quadSize = 0.1f; // half the quad's edge
    float innerSize = 0.0f;
    float colorSpread = 0.4f;
    float colorBase = 0.9f;
    float posX[MAX_PARTICLES] = {};
    float posY[MAX_PARTICLES] = {};
    float posZ[MAX_PARTICLES] = {};
    float colorR[MAX_PARTICLES] = {};
    float colorG[MAX_PARTICLES] = {};
    float colorB[MAX_PARTICLES] = {};
    float velX[MAX_PARTICLES] = {}; // scene units per second
    float velY[MAX_PARTICLES] = {};
    float velZ[MAX_PARTICLES] = {};
    Texture* texture = nullptr; // null: untextured quads

    virtual ~ParticleCloud() = default;

    // Clamps the parameters, places and colours the live particles; velocities are kept.
    void init();
    // Moves every particle by dt times its velocity; each is kicked with probability dt, which replaces
    // one velocity component by a value in [-kick/2, kick/2).
    void step(float dt, float kick);
    void draw(const Camera& camera, float alphaFactor) const;
};
