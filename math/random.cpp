// The shared generator and numeric helpers.
#include "math/random.h"

#include <GL/gl.h>

namespace {
std::uint32_t generatorState = 1;

const GLenum BLEND_SOURCES[9] = {GL_ZERO,      GL_ONE,           GL_SRC_ALPHA,
                                 GL_ONE_MINUS_SRC_ALPHA, GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA,
                                 GL_DST_COLOR, GL_ONE_MINUS_DST_COLOR, GL_SRC_ALPHA_SATURATE};
const GLenum BLEND_DESTINATIONS[8] = {GL_ZERO,      GL_ONE,         GL_SRC_ALPHA,
                                      GL_ONE_MINUS_SRC_ALPHA, GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA,
                                      GL_SRC_COLOR, GL_ONE_MINUS_SRC_COLOR};
} // namespace

void seedRandom(std::uint32_t seed) { generatorState = seed; }

int nextRandom() {
    generatorState = generatorState * 214013u + 2531011u; // unsigned, so the modulo 2^32 is defined
    return static_cast<int>((generatorState >> 16) & 0x7FFFu);
}

std::uint32_t randomState() { return generatorState; }

double randRange(double x) { return (nextRandom() / 32768.0) * x; }

float randRange(float x) { return static_cast<float>((nextRandom() / 32768.0) * x); }

float randGauss(float x) {
    const double s = x * 1.414;
    double sum = 0.0;
    for (int i = 0; i < 6; ++i) sum += randRange(1.0);
    return static_cast<float>((sum - 3.0) * s);
}

float randPow(std::int32_t count) {
    float u = static_cast<float>(randRange(1.0));
    for (std::int32_t i = 2; i <= count; ++i) u = u * u;
    return u;
}

float clampf(float v, float lo, float hi) {
    if (!(v >= lo)) return lo; // also catches NaN
    if (v > hi) return hi;
    return v;
}

float wrapRange(float v, float lo, float hi) {
    const float p = hi - lo;
    if (p == 0.0f) return v;
    const float quotient = v / p;
    // Truncating a quotient outside the int range (or NaN) is undefined; leave such values alone.
    if (!(quotient > -2147483648.0f && quotient < 2147483648.0f)) return v;
    std::int32_t q = static_cast<std::int32_t>(quotient);
    if (v < 0.0f) q = q - 1;
    return static_cast<float>(v - static_cast<float>(q) * p);
}

std::int32_t signf(float x) {
    if (x > 0.0f) return 1;
    if (x < 0.0f || x != x) return -1;
    return 0;
}

std::int32_t maxi(std::int32_t a, std::int32_t b) { return a > b ? a : b; }
std::int32_t mini(std::int32_t a, std::int32_t b) { return a < b ? a : b; }
float minf(float a, float b) { return a < b ? a : b; }

void blendByIndex(std::int32_t srcIndex, std::int32_t dstIndex) {
    if (srcIndex < 0 || srcIndex >= 9 || dstIndex < 0 || dstIndex >= 8) return;
    glBlendFunc(BLEND_SOURCES[srcIndex], BLEND_DESTINATIONS[dstIndex]);
}
