// Runs the real scene start-up on an offscreen context under a simulated clock. ctest runs every test case
// in a process of its own, so each test starts from freshly constructed scene globals.
#pragma once

#include <cstdint>

#include "tests/support/gl_context.h"
#include "tests/support/image.h"

// The simulated clock: 64-bit milliseconds, read as the wrapping 32-bit counter.
extern std::int64_t simulatedMs;
int simulatedReading();

class SceneTest : public GlTest {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Default render state and sceneStartup with the clock first reading `firstMs`.
    void startScene(std::int64_t firstMs = 1000);
    // Advances the simulated clock and renders one frame.
    void frame(int intervalMs = 33);
};
