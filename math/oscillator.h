// A slowly turning phase read through a cosine, with random pauses: the camera's path and orientation and
// the letterbox amount are values of these.
#pragma once

#include <cstdint>

// Number of oscillators constructed so far; each takes it as its id.
extern std::int32_t oscillatorCount;

// Per-step chance that a resting oscillator starts a ramp.
constexpr double THROTTLE_CHANCE = 0.0001;
// A falling ramp stops dead once the throttle drops below this.
constexpr double THROTTLE_SNAP = 0.05;

class Oscillator {
  public:
    std::int32_t id;
    double phase; // radians, never wrapped
    double timeScale = 1.0;
    double throttle = 1.0;
    double throttleRate = 0.0;
    double speed = 1.0;
    const double* modulator = nullptr; // not owned; must outlive the oscillator
    double range = 0.5;
    double offset = 0.5;

    // Draws the initial phase from the shared generator, so construction order matters.
    Oscillator();
    virtual ~Oscillator() = default;

    void step(double dt);
    double cosine() const;
    double unitValue() const;
    double value() const;
    double getPhase() const { return phase; }
};
