// The process-wide pseudo-random generator and the small numeric helpers every subsystem shares.
// The generator is our own linear congruential one, not the C library's rand, so that one seed gives the
// same city and textures on every platform and runtime.
#pragma once

#include <cstdint>

// Largest value nextRandom returns.
constexpr int RANDOM_MAX = 0x7FFF;

// srand/rand semantics: the state starts at 1; each draw advances it and returns bits 16 to 30.
void seedRandom(std::uint32_t seed);
int nextRandom();
// The raw state, for tests and tools that check the sequence stays where it should.
std::uint32_t randomState();

// Uniform in [0, x) for positive x, in steps of x/32768; one draw each.
double randRange(double x);
float randRange(float x);
// Bell-shaped, mean 0, standard deviation about x; six draws.
float randGauss(float x);
// Uniform value raised to the power 2^(count-1), skewed towards 0; one draw.
float randPow(std::int32_t count);

float clampf(float v, float lo, float hi);
// Wraps v by the period hi - lo (the result is not shifted by lo). A zero period, or a quotient that does
// not fit 32 bits, returns v unchanged.
float wrapRange(float v, float lo, float hi);
std::int32_t signf(float x);
std::int32_t maxi(std::int32_t a, std::int32_t b);
std::int32_t mini(std::int32_t a, std::int32_t b);
float minf(float a, float b);
// glBlendFunc from two small tables; indices outside them make no call.
void blendByIndex(std::int32_t srcIndex, std::int32_t dstIndex);
