// Frame clock stepping.
#include "shell/frame_clock.h"

#include <GL/freeglut.h>

int glutElapsedMilliseconds() { return glutGet(GLUT_ELAPSED_TIME); }

MillisecondSource frameClockSource = glutElapsedMilliseconds;

void FrameClock::step() {
    const std::int32_t reading = frameClockSource();
    previousSeconds = currentSeconds;
    if (hasReading == 0) {
        // The first reading is kept as it is: it seeds the city.
        elapsedMs = static_cast<double>(reading);
        hasReading = 1;
    } else {
        // The raw reading is a 32-bit int that wraps after about 24.8 days; advancing by the signed 32-bit
        // difference keeps time continuous across the wrap, and a small backwards step stays small.
        const std::uint32_t diff = static_cast<std::uint32_t>(reading) - static_cast<std::uint32_t>(lastReading);
        elapsedMs += static_cast<double>(static_cast<std::int32_t>(diff));
    }
    lastReading = reading;
    currentSeconds = elapsedMs * 0.001;
    deltaSeconds = currentSeconds - previousSeconds;
}
