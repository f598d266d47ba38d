// Oscillator stepping: the random ramp starts, the ramp itself, and the phase advance.
#include "math/oscillator.h"

#include <cmath>

#include "math/random.h"

std::int32_t oscillatorCount = 0;

Oscillator::Oscillator() : id(oscillatorCount++), phase(randRange(1000.0)) {}

void Oscillator::step(double dt) {
    if (throttle == 0.0 || throttle == 1.0) {
        const double u = randRange(1.0);
        if (u < THROTTLE_CHANCE) throttleRate = throttle == 1.0 ? -0.1 * dt : 0.1 * dt;
    }
    throttle = dt * throttleRate + throttle;
    if (throttleRate < 0.0 && throttle < THROTTLE_SNAP) {
        throttle = 0.0;
        throttleRate = 0.0;
    } else if (throttleRate > 0.0 && throttle > 1.0) {
        throttle = 1.0;
        throttleRate = 0.0;
    }
    const double m = modulator != nullptr ? *modulator : 1.0;
    phase = throttle * timeScale * dt * m * speed + phase;
}

double Oscillator::cosine() const { return std::cos(phase); }

double Oscillator::unitValue() const { return std::cos(phase) * 0.5 + 0.5; }

double Oscillator::value() const { return (std::cos(phase) * 0.5 + 0.5) * range + offset; }
