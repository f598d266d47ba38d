#include "math/random.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/support/gl_context.h"

TEST(Generator, ReproducesTheRuntimeSequenceFromSeedOne) {
    seedRandom(1);
    EXPECT_EQ(nextRandom(), 41);
    EXPECT_EQ(nextRandom(), 18467);
    EXPECT_EQ(nextRandom(), 6334);
    seedRandom(1);
    EXPECT_EQ(randRange(1.0), 41.0 / 32768.0);
    EXPECT_EQ(randRange(1.0), 18467.0 / 32768.0);
    // Reseeding restarts the sequence and the state is the plain seed.
    seedRandom(12345);
    EXPECT_EQ(randomState(), 12345u);
}

TEST(Generator, StaysInFifteenBitsForAnySeed) {
    for (std::uint32_t seed : {0u, 1u, 0xFFFFFFFFu, 0x80000000u, 987654321u}) {
        seedRandom(seed);
        for (int i = 0; i < 1000; ++i) {
            const int r = nextRandom();
            ASSERT_GE(r, 0);
            ASSERT_LE(r, RANDOM_MAX);
        }
    }
}

TEST(RandRange, NeverReachesItsBoundAndHandlesZeroAndNegative) {
    // Find a seed whose next draw is 32767, the largest value, and check it stays below x.
    std::uint32_t seed = 0;
    for (;; ++seed) {
        seedRandom(seed);
        if (nextRandom() == RANDOM_MAX) break;
    }
    seedRandom(seed);
    EXPECT_EQ(randRange(10.0), 10.0 * 0.999969482421875);
    seedRandom(seed);
    EXPECT_LT(randRange(10.0f), 10.0f);
    seedRandom(7);
    EXPECT_EQ(randRange(0.0), 0.0);
    for (int i = 0; i < 1000; ++i) {
        const double v = randRange(-3.0);
        ASSERT_LE(v, 0.0);
        ASSERT_GT(v, -3.0);
    }
}

TEST(RandGauss, StaysWithinItsBoundsAndDrawsSix) {
    seedRandom(99);
    double sum = 0.0, squares = 0.0;
    const int n = 20000;
    for (int i = 0; i < n; ++i) {
        const float g = randGauss(2.0f);
        ASSERT_LE(std::fabs(g), 4.242f * 2.0f + 1e-4f);
        sum += g;
        squares += double(g) * g;
    }
    const double mean = sum / n;
    EXPECT_NEAR(mean, 0.0, 0.05);
    EXPECT_NEAR(std::sqrt(squares / n - mean * mean), 2.0, 0.05);

    seedRandom(5);
    randGauss(1.0f);
    const std::uint32_t after = randomState();
    seedRandom(5);
    for (int i = 0; i < 6; ++i) nextRandom();
    EXPECT_EQ(randomState(), after);
}

TEST(RandPow, RaisesToPowersOfTwo) {
    for (int count : {0, 1}) {
        seedRandom(3);
        const float u = static_cast<float>(randRange(1.0));
        seedRandom(3);
        EXPECT_EQ(randPow(count), u) << count;
    }
    seedRandom(3);
    const float u = static_cast<float>(randRange(1.0));
    seedRandom(3);
    EXPECT_EQ(randPow(2), u * u);
    seedRandom(3);
    const float u2 = u * u;
    EXPECT_EQ(randPow(3), u2 * u2);
}

TEST(NumericHelpers, ClampSignMinMax) {
    EXPECT_EQ(clampf(5, 0, 1), 1);
    EXPECT_EQ(clampf(-1, 0, 1), 0);
    EXPECT_EQ(clampf(0.5f, 0, 1), 0.5f);
    EXPECT_EQ(clampf(std::numeric_limits<float>::quiet_NaN(), 0, 1), 0);
    // The lower bound is tested first.
    EXPECT_EQ(clampf(0.5f, 1, 0), 1);
    EXPECT_EQ(signf(0), 0);
    EXPECT_EQ(signf(-0.0f), 0);
    EXPECT_EQ(signf(-0.5f), -1);
    EXPECT_EQ(signf(2), 1);
    EXPECT_EQ(signf(std::numeric_limits<float>::quiet_NaN()), -1);
    EXPECT_EQ(maxi(3, -4), 3);
    EXPECT_EQ(mini(3, -4), -4);
    EXPECT_EQ(minf(0.25f, -1.5f), -1.5f);
}

TEST(WrapRange, WrapsByThePeriodWithoutShiftingByLo) {
    struct Case {
        float v, lo, hi, expected;
    };
    const Case cases[] = {
        {370, 0, 360, 10},   {-10, 0, 360, 350},  {-360, 0, 360, 360}, {720, 0, 360, 0},
        {0, 0, 360, 0},      {359.5f, 0, 360, 359.5f}, {-370, 0, 360, 350}, {25, 10, 20, 5},
    };
    for (const Case& c : cases) EXPECT_EQ(wrapRange(c.v, c.lo, c.hi), c.expected) << c.v << " " << c.lo << " " << c.hi;
}

TEST(WrapRange, LeavesValuesAloneWhereTheWrapIsUndefined) {
    EXPECT_EQ(wrapRange(42.0f, 5.0f, 5.0f), 42.0f);
    EXPECT_EQ(wrapRange(1e30f, 0, 360), 1e30f);
    EXPECT_EQ(wrapRange(-1e30f, 0, 360), -1e30f);
    EXPECT_EQ(wrapRange(std::numeric_limits<float>::infinity(), 0, 360), std::numeric_limits<float>::infinity());
    EXPECT_TRUE(std::isnan(wrapRange(std::numeric_limits<float>::quiet_NaN(), 0, 360)));
}

class BlendByIndex : public GlTest {};

TEST_F(BlendByIndex, SetsTheBlendFunctionFromBothTables) {
    auto blend = [] {
        GLint src = 0, dst = 0;
        glGetIntegerv(GL_BLEND_SRC, &src);
        glGetIntegerv(GL_BLEND_DST, &dst);
        return std::make_pair(src, dst);
    };
    blendByIndex(2, 3);
    EXPECT_EQ(blend(), std::make_pair(GLint(GL_SRC_ALPHA), GLint(GL_ONE_MINUS_SRC_ALPHA)));
    blendByIndex(1, 1);
    EXPECT_EQ(blend(), std::make_pair(GLint(GL_ONE), GLint(GL_ONE)));
    blendByIndex(6, 6);
    EXPECT_EQ(blend(), std::make_pair(GLint(GL_DST_COLOR), GLint(GL_SRC_COLOR)));
    blendByIndex(8, 7);
    EXPECT_EQ(blend(), std::make_pair(GLint(GL_SRC_ALPHA_SATURATE), GLint(GL_ONE_MINUS_SRC_COLOR)));
    // Outside the tables: no call, the previous function stays.
    for (auto [s, d] : {std::make_pair(9, 0), std::make_pair(0, 8), std::make_pair(-1, 0), std::make_pair(0, -1)})
        blendByIndex(s, d);
    EXPECT_EQ(blend(), std::make_pair(GLint(GL_SRC_ALPHA_SATURATE), GLint(GL_ONE_MINUS_SRC_COLOR)));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
