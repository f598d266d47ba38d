// The animated update: bytes of the replaced level 0 read back from OpenGL, the order of its random draws,
// and its refusals.
#include "textures/texture.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "math/random.h"
#include "tests/textures/texture_fixture.h"

namespace {

class AnimateTest : public TextureTest {
  protected:
    void SetUp() override {
        TextureTest::SetUp();
        ASSERT_EQ(slot.generate(SPHERE, 256, 256, GL_RGBA, true), 0);
    }
    std::vector<std::uint8_t> animated(int flags, int amplitude, int radius) {
        slot.animate(flags, amplitude, radius);
        return readLevel(slot);
    }
    Texture slot;
};

// Every byte of every pixel of the RGBA image, by a per-pixel rule.
template <typename Rule>
void expectEveryPixel(const std::vector<std::uint8_t>& image, int w, int h, Rule rule) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* p = rgbaAt(image, w, x, y);
            const int expected = rule(x, y);
            for (int c = 0; c < 4; ++c)
                ASSERT_EQ(p[c], expected) << x << "," << y << " channel " << c;
        }
}

TEST_F(AnimateTest, NoFlagsGiveWhiteAndLeaveTheSmallerLevels) {
    const std::uint32_t state = randomState();
    expectEveryPixel(animated(0, 50, 10), 256, 256, [](int, int) { return 255; });
    EXPECT_EQ(randomState(), state);
    // Only level 0 is replaced: level 1 still holds the generated disc, black in its corner.
    EXPECT_EQ(readLevel(slot, 1)[3], 0);
    EXPECT_EQ(readLevel(slot, 1).size(), 128u * 128u * 4u);
}

TEST_F(AnimateTest, RadialFadeFallsQuadraticallyToZeroAtTheRadius) {
    const std::vector<std::uint8_t> image = animated(ANIM_RADIAL_FADE, 0, 64);
    EXPECT_EQ(rgbaAt(image, 256, 128, 128)[0], 255);
    EXPECT_EQ(rgbaAt(image, 256, 160, 128)[1], 191);
    EXPECT_EQ(rgbaAt(image, 256, 128, 96)[2], 191);
    expectEveryPixel(image, 256, 256, [&](int x, int y) {
        const int dx = x - 128, dy = y - 128;
        return dx * dx + dy * dy >= 64 * 64 ? 0 : rgbaAt(image, 256, x, y)[0];
    });
}

TEST_F(AnimateTest, RadiusBelowOneBehavesAsOne) {
    const std::vector<std::uint8_t> one = animated(ANIM_RADIAL_FADE, 0, 1);
    EXPECT_EQ(rgbaAt(one, 256, 128, 128)[0], 255);
    EXPECT_EQ(rgbaAt(one, 256, 129, 128)[0], 0);
    EXPECT_EQ(animated(ANIM_RADIAL_FADE, 0, 0), one);
    EXPECT_EQ(animated(ANIM_RADIAL_FADE, 0, -7), one);
}

TEST_F(AnimateTest, OddLinesAreDarkenedByTheAmplitude) {
    expectEveryPixel(animated(ANIM_ODD_COLUMNS, 64, 1), 256, 256,
                     [](int x, int) { return x % 2 ? 191 : 255; });
    expectEveryPixel(animated(ANIM_ODD_ROWS, 64, 1), 256, 256, [](int, int y) { return y % 2 ? 191 : 255; });
    // Both at 200: 55 where one is odd, clamped to 0 where both are.
    expectEveryPixel(animated(ANIM_ODD_COLUMNS | ANIM_ODD_ROWS, 200, 1), 256, 256, [](int x, int y) {
        const int odd = x % 2 + y % 2;
        return odd == 2 ? 0 : odd == 1 ? 55 : 255;
    });
}

TEST_F(AnimateTest, ZeroAmplitudeColumnJitterStaysWhiteButDrawsOncePerColumn) {
    seedRandom(31);
    expectEveryPixel(animated(ANIM_COLUMN_JITTER, 0, 1), 256, 256, [](int, int) { return 255; });
    const std::uint32_t after = randomState();
    seedRandom(31);
    for (int i = 0; i < 256; ++i)
        nextRandom();
    EXPECT_EQ(after, randomState());
}

TEST_F(AnimateTest, OffsetsAreDrawnColumnsFirstThenPerRowBeforeItsPixels) {
    Texture small;
    ASSERT_EQ(small.generate(BLACK, 4, 3, GL_RGBA, false), 0);
    seedRandom(900);
    small.animate(ANIM_COLUMN_JITTER | ANIM_ROW_JITTER | ANIM_PIXEL_NOISE, 40, 1);
    const std::vector<std::uint8_t> image = readLevel(small);
    // Offsets lie in [-20, 20); their sum can push past 255, where the clamp holds it.
    seedRandom(900);
    int column[4];
    for (int& c : column)
        c = static_cast<int>(randRange(40.0) - 20);
    for (int y = 0; y < 3; ++y) {
        const int row = static_cast<int>(randRange(40.0) - 20);
        for (int x = 0; x < 4; ++x) {
            const double v =
                255.0f + static_cast<float>(column[x]) + static_cast<float>(row) + (randRange(40.0) - 20);
            const int expected = static_cast<int>(clampf(static_cast<float>(v), 0.0f, 255.0f));
            for (int c = 0; c < 4; ++c)
                ASSERT_EQ(rgbaAt(image, 4, x, y)[c], expected) << x << "," << y;
        }
    }
}

TEST_F(AnimateTest, LuminanceAlphaSlotsGetTheByteTwice) {
    Texture la;
    ASSERT_EQ(la.generate(GRADIENT, 16, 16, GL_LUMINANCE_ALPHA, false), 0);
    la.animate(ANIM_ODD_COLUMNS, 100, 1);
    const std::vector<std::uint8_t> image = readLevel(la);
    for (int x = 0; x < 16; ++x) {
        EXPECT_EQ(image[2 * x], x % 2 ? 155 : 255);
        EXPECT_EQ(image[2 * x + 1], x % 2 ? 155 : 255);
    }
}

TEST_F(AnimateTest, SlotsWithoutAnAcceptedImageAreLeftAlone) {
    const std::uint32_t state = randomState();
    Texture never;
    never.animate(ANIM_PIXEL_NOISE, 10, 5);
    EXPECT_EQ(never.glName, 0u);
    // A refused regeneration leaves fields that no longer describe the image: nothing is drawn or sent.
    const std::vector<std::uint8_t> before = readLevel(slot);
    ASSERT_EQ(slot.generate(SPHERE, 300, 300, GL_RGBA, true), 1);
    slot.animate(ANIM_PIXEL_NOISE, 10, 5);
    slot.width = 256;
    slot.height = 256;
    slot.format = GL_RGB;
    slot.animate(ANIM_PIXEL_NOISE, 10, 5);
    EXPECT_EQ(randomState(), state);
    EXPECT_EQ(readLevel(slot, 0, GL_RGBA), before);
}

} // namespace
