// The single source of time for the scene: stepped once at start-up and once per frame.
// It is the one shell piece the scene reads, so it builds into the scene library.
#pragma once

#include <cstdint>

// Where the clock reads its milliseconds. Defaults to freeglut's elapsed time (no glutInit needed);
// tests and the offscreen renderer point it at a simulated clock.
using MillisecondSource = int (*)();
extern MillisecondSource frameClockSource;
int glutElapsedMilliseconds();

class FrameClock {
  public:
    double previousSeconds = 0.0;
    double currentSeconds = 0.0;
    double deltaSeconds = 0.0;
    double elapsedMs = 0.0; // whole milliseconds, continuous across the 32-bit wrap of the raw reading
    std::int32_t lastReading = 0;
    std::int32_t hasReading = 0;

    FrameClock() = default;
    virtual ~FrameClock() = default;

    void step();
};
