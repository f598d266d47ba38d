#include "shell/frame_clock.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {
std::int64_t simulatedMs = 0;
// The platform reading is a 32-bit int: wrap the simulated 64-bit time the way the real counter does.
int simulatedReading() { return static_cast<int>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(simulatedMs))); }

class FrameClockTest : public ::testing::Test {
  protected:
    void SetUp() override { frameClockSource = simulatedReading; }
    void TearDown() override { frameClockSource = glutElapsedMilliseconds; }
};
} // namespace

TEST_F(FrameClockTest, FirstStepTakesTheWholeReading) {
    FrameClock clock;
    EXPECT_EQ(clock.currentSeconds, 0.0);
    simulatedMs = 1234;
    clock.step();
    EXPECT_EQ(clock.previousSeconds, 0.0);
    EXPECT_EQ(clock.elapsedMs, 1234.0);
    EXPECT_EQ(clock.currentSeconds, 1234 * 0.001);
    EXPECT_EQ(clock.deltaSeconds, clock.currentSeconds);
}

TEST_F(FrameClockTest, StepsFortyMillisecondsAndBackwards) {
    FrameClock clock;
    simulatedMs = 5000;
    clock.step();
    simulatedMs += 40;
    clock.step();
    EXPECT_NEAR(clock.deltaSeconds, 0.04, 1e-9);
    EXPECT_EQ(clock.currentSeconds, 5040 * 0.001);
    simulatedMs -= 3;
    clock.step();
    EXPECT_NEAR(clock.deltaSeconds, -0.003, 1e-9);
}

TEST_F(FrameClockTest, StaysContinuousAcrossThe32BitWraps) {
    for (std::int64_t start : {std::int64_t(0x7FFFFFFF) - 100, std::int64_t(0xFFFFFFFF) - 100}) {
        FrameClock clock;
        simulatedMs = start;
        clock.step();
        const double first = clock.elapsedMs;
        EXPECT_EQ(first, double(static_cast<int>(static_cast<std::uint32_t>(start))));
        for (int i = 0; i < 10; ++i) {
            simulatedMs += 33;
            clock.step();
            ASSERT_NEAR(clock.deltaSeconds, 0.033, 1e-6) << start << " step " << i;
        }
        EXPECT_EQ(clock.elapsedMs, first + 330.0);
        // A long pause right across the wrap is one big but correct step.
        simulatedMs += 600000;
        clock.step();
        EXPECT_NEAR(clock.deltaSeconds, 600.0, 1e-6);
    }
}

TEST(FrameClockGlut, ReadsFreeglutWithoutInitialisation) {
    FrameClock clock;
    clock.step();
    const double first = clock.elapsedMs;
    clock.step();
    EXPECT_GE(clock.elapsedMs, first);
    EXPECT_GE(clock.deltaSeconds, 0.0);
}
