// Long runs under a simulated clock: weeks of frames at uneven intervals, across the 32-bit wrap of the
// millisecond counter, must leave every animated value finite and every throttle in [0, 1].
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "scene/frame_pipeline.h"
#include "scene/scene_globals.h"
#include "tests/scene/scene_fixture.h"

namespace {
void expectSane(const char* when) {
    const Oscillator* oscillators[8] = {&camPosXOsc, &camPosYOsc, &camPosZOsc,  &auxSpinOsc,
                                        &camYawOsc,  &camRollOsc, &auxPulseOsc, &letterboxOsc};
    for (const Oscillator* o : oscillators) {
        ASSERT_TRUE(std::isfinite(o->phase)) << when;
        ASSERT_TRUE(std::isfinite(o->value())) << when;
        ASSERT_GE(o->throttle, 0.0) << when;
        ASSERT_LE(o->throttle, 1.0) << when;
    }
    const Transform& pose = display.views[1].camera.transform;
    for (float v :
         {pose.position.x, pose.position.y, pose.position.z, pose.rotation.x, pose.rotation.y,
          pose.rotation.z, light.posX, light.posY, light.posZ, display.letterbox, display.fadeAlpha})
        ASSERT_TRUE(std::isfinite(v)) << when;
    ASSERT_TRUE(std::isfinite(frameClock.currentSeconds)) << when;
    ASSERT_GE(frameClock.deltaSeconds, 0.0) << when;
}
} // namespace

class Soak : public SceneTest {
  protected:
    void SetUp() override {
        width = 96;
        height = 54;
        SceneTest::SetUp();
    }
};

TEST_F(Soak, SixtySimulatedDaysAcrossTheClockWrap) {
    const std::int64_t start = 0x7FFFFFFFLL - 3600000; // an hour before the counter turns negative
    startScene(start);
    std::mt19937 intervals(12345);
    std::uniform_int_distribution<int> shortFrame(1, 250);
    std::uniform_int_distribution<int> longPause(1000, 3600000);
    const std::int64_t end = start + 60LL * 24 * 3600 * 1000;
    long steps = 0;
    while (simulatedMs < end) {
        // Mostly ordinary frames, now and then a pause of up to an hour (a suspended machine).
        simulatedMs += (steps % 50 == 49) ? longPause(intervals) : shortFrame(intervals);
        if (steps % 2000 == 0) {
            renderFrame();
            ASSERT_NO_FATAL_FAILURE(expectSane("after a rendered frame"));
        } else {
            frameClock.step();
            animateScene();
        }
        ++steps;
    }
    renderFrame();
    expectSane("at the end");
    EXPECT_NEAR(frameClock.currentSeconds - start * 0.001, (simulatedMs - start) * 0.001, 1e-3)
        << "time stayed continuous across both wraps";
}
