#include "math/oscillator.h"

#include <gtest/gtest.h>

#include <cmath>

#include "math/random.h"

TEST(Oscillator, EightConstructedInOrderTakeTheFirstPhasesOfSeedOne) {
    seedRandom(1);
    const double expected[8] = {1.251220703125,    563.568115234375, 193.29833984375,  808.7158203125,
                                584.991455078125, 479.8583984375,   350.28076171875, 895.93505859375};
    Oscillator* oscillators = new Oscillator[8];
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(oscillators[i].phase, expected[i]) << i;
        if (i > 0) {
            EXPECT_EQ(oscillators[i].id, oscillators[i - 1].id + 1);
        }
        EXPECT_GE(oscillators[i].value(), 0.5);
        EXPECT_LE(oscillators[i].value(), 1.0);
    }
    delete[] oscillators;
}

TEST(Oscillator, StepsItsPhaseByThrottleSpeedAndModulator) {
    Oscillator o;
    o.phase = 2.0;
    o.speed = 0.2;
    seedRandom(1); // first draw 41/32768 is far above the ramp chance
    o.step(0.5);
    EXPECT_EQ(o.phase, 0.1 + 2.0);

    const double zero = 0.0;
    o.modulator = &zero;
    o.phase = 2.0;
    const std::uint32_t before = randomState();
    o.step(0.5);
    EXPECT_EQ(o.phase, 2.0);
    EXPECT_NE(randomState(), before); // the throttle logic still drew its number

    const double half = 0.5;
    o.modulator = &half;
    o.step(-1.0);
    EXPECT_EQ(o.phase, 2.0 - 0.1); // negative time runs backwards

    o.throttle = 0.5; // between ramps by hand: never drawn for, never moves again
    const std::uint32_t state = randomState();
    for (int i = 0; i < 100; ++i) o.step(0.02);
    EXPECT_EQ(o.throttle, 0.5);
    EXPECT_EQ(randomState(), state);
}

TEST(Oscillator, ValueMapsTheCosineIntoItsRange) {
    Oscillator o;
    o.range = 360;
    o.offset = 0;
    o.phase = 0;
    EXPECT_EQ(o.value(), 360.0);
    o.phase = M_PI;
    EXPECT_NEAR(o.value(), 0.0, 1e-9);
    o.range = 0;
    o.offset = 3;
    EXPECT_EQ(o.value(), 3.0);
    EXPECT_NEAR(o.unitValue(), 0.0, 1e-12);
    EXPECT_EQ(o.cosine(), -1.0);
}

// Finds a seed whose first draw starts a ramp (u < THROTTLE_CHANCE means the draw is 0 or 1... of 32768).
static std::uint32_t seedThatStartsARamp() {
    for (std::uint32_t seed = 0;; ++seed) {
        seedRandom(seed);
        if (nextRandom() == 0) return seed;
    }
}

TEST(Oscillator, AFallingRampFromTwentyMillisecondStepsSnapsAfter475Seconds) {
    Oscillator o;
    seedRandom(seedThatStartsARamp());
    o.step(0.02);
    EXPECT_EQ(o.throttleRate, -0.002);
    int steps = 1;
    while (o.throttle != 0.0 && steps < 100000) {
        o.step(0.02);
        ++steps;
    }
    EXPECT_EQ(o.throttle, 0.0);
    EXPECT_EQ(o.throttleRate, 0.0);
    EXPECT_NEAR(steps * 0.02, 475.0, 0.05);

    // At rest at 0 the next start rises, and the rise ends exactly at 1.
    seedRandom(seedThatStartsARamp());
    o.step(0.5);
    EXPECT_EQ(o.throttleRate, 0.05);
    while (o.throttle != 1.0) o.step(0.5);
    EXPECT_EQ(o.throttleRate, 0.0);
}
