// The pixel rules, checked on the bytes OpenGL holds after a real upload (level 0, read back with
// glGetTexImage), at the scene's 256 x 256 RGBA with mipmaps unless a case needs otherwise.
#include "textures/texture_kind.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "math/random.h"
#include "tests/textures/texture_fixture.h"

namespace {

class GeneratorTest : public TextureTest {
  protected:
    // Generates kind into the slot at 256 x 256 RGBA with mipmaps and reads level 0 back.
    std::vector<std::uint8_t> make(TextureKind kind, int w = 256, int h = 256, GLenum format = GL_RGBA,
                                   bool mipmapped = true) {
        EXPECT_EQ(slot.generate(kind, w, h, format, mipmapped), 0);
        std::vector<std::uint8_t> image = readLevel(slot);
        EXPECT_EQ(image.size(),
                  static_cast<size_t>(w) * static_cast<size_t>(h) * (format == GL_RGBA ? 4u : 2u));
        return image;
    }

    // All four channels of (x, y) are value.
    void expectGrey(const std::vector<std::uint8_t>& image, int x, int y, int value, int w = 256) {
        const std::uint8_t* p = rgbaAt(image, w, x, y);
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(p[c], value) << "pixel " << x << "," << y << " channel " << c;
    }

    // Asserts that every pixel has four equal channels and returns the largest.
    static int peakOfGrey(const std::vector<std::uint8_t>& image) {
        int peak = 0;
        for (size_t i = 0; i < image.size(); i += 4) {
            EXPECT_TRUE(image[i] == image[i + 1] && image[i] == image[i + 2] && image[i] == image[i + 3])
                << i;
            peak = std::max(peak, static_cast<int>(image[i]));
        }
        return peak;
    }

    // The generator's state after seeding with seed and running work.
    template <typename Work> static std::uint32_t drawsAfter(std::uint32_t seed, Work work) {
        seedRandom(seed);
        work();
        return randomState();
    }

    // The generator's state n draws after seeding with seed.
    static std::uint32_t stateAfter(std::uint32_t seed, int n) {
        seedRandom(seed);
        for (int i = 0; i < n; ++i)
            nextRandom();
        return randomState();
    }

    Texture slot;
};

TEST(ChannelByte, TruncatesAndKeepsTheLowEightBitsForAnyFloat) {
    EXPECT_EQ(toChannelByte(191.9f), 191);
    EXPECT_EQ(toChannelByte(255.99f), 255);
    EXPECT_EQ(toChannelByte(-0.9f), 0);
    EXPECT_EQ(toChannelByte(-1.0f), 255);
    EXPECT_EQ(toChannelByte(-98.75f), 158);
    EXPECT_EQ(toChannelByte(-254.0f), 2);
    EXPECT_EQ(toChannelByte(256.0f), 0);
    EXPECT_EQ(toChannelByte(300.7f), 44);
    EXPECT_EQ(toChannelByte(1073741952.0f), 128); // 2^30 + 128, still within 32 bits
    // Beyond 32 bits every float is a multiple of 256; NaN and the infinities get 0 too.
    EXPECT_EQ(toChannelByte(3.0e9f), 0);
    EXPECT_EQ(toChannelByte(-2147483648.0f), 0);
    EXPECT_EQ(toChannelByte(std::numeric_limits<float>::infinity()), 0);
    EXPECT_EQ(toChannelByte(-std::numeric_limits<float>::infinity()), 0);
    EXPECT_EQ(toChannelByte(std::numeric_limits<float>::quiet_NaN()), 0);
}

TEST_F(GeneratorTest, SphereAndNotSphereAreInverseDiscsOfTheHalfWidth) {
    const std::vector<std::uint8_t> sphere = make(SPHERE);
    expectGrey(sphere, 128, 128, 255);
    expectGrey(sphere, 192, 128, 191); // half the radius
    expectGrey(sphere, 128, 64, 191);
    expectGrey(sphere, 0, 128, 0);
    expectGrey(sphere, 0, 0, 0);
    expectGrey(sphere, 255, 255, 0);
    const std::vector<std::uint8_t> inverse = make(NOTSPHERE);
    expectGrey(inverse, 128, 128, 0);
    expectGrey(inverse, 192, 128, 63);
    expectGrey(inverse, 0, 128, 255);
    expectGrey(inverse, 0, 0, 255);
    // Both axes divide by the half-width: on a 64 x 32 image the top edge, 16 rows up, is half the radius.
    const std::vector<std::uint8_t> wide = make(SPHERE, 64, 32);
    expectGrey(wide, 32, 0, 191, 64);
    expectGrey(wide, 0, 16, 0, 64);
}

TEST_F(GeneratorTest, GradientAndGrilleRunDownRowsAndAcrossColumnsWithWrapAround) {
    const std::vector<std::uint8_t> gradient = make(GRADIENT);
    const std::vector<std::uint8_t> grille = make(GRILLE);
    const int expected[][2] = {{0, 240}, {2, 210},   {8, 180},   {32, 120},  {127, 0},   {128, 0},
                               {129, 0}, {130, 255}, {131, 254}, {200, 196}, {254, 158}, {255, 158}};
    for (const auto& e : expected) {
        for (int i = 0; i < 256; ++i) {
            const std::uint8_t* row = rgbaAt(gradient, 256, i, e[0]);
            const std::uint8_t* column = rgbaAt(grille, 256, e[0], i);
            for (int c = 0; c < 4; ++c) {
                ASSERT_EQ(row[c], e[1]) << "gradient row " << e[0] << " column " << i;
                ASSERT_EQ(column[c], e[1]) << "grille column " << e[0] << " row " << i;
            }
        }
    }
}

TEST_F(GeneratorTest, RingPeaksAtFiftyEightPixelsAndFallsSteeplyOutside) {
    const std::vector<std::uint8_t> ring = make(RING);
    expectGrey(ring, 128, 128, 0);
    expectGrey(ring, 157, 128, 127); // halfway up the ramp
    expectGrey(ring, 186, 128, 255);
    expectGrey(ring, 189, 128, 149);
    expectGrey(ring, 194, 128, 0);
    expectGrey(ring, 128, 186, 255);
    expectGrey(ring, 70, 128, 255);
    expectGrey(ring, 0, 0, 0);
    // The radius is in pixels: on a 512 x 128 image the ring is just as wide.
    const std::vector<std::uint8_t> wide = make(RING, 512, 128);
    expectGrey(wide, 256 + 58, 64, 255, 512);
    expectGrey(wide, 256 + 66, 64, 0, 512);
}

TEST_F(GeneratorTest, StarIsTheProductOfTwoTents) {
    const std::vector<std::uint8_t> star = make(STAR);
    expectGrey(star, 128, 128, 255);
    expectGrey(star, 64, 128, 127);
    expectGrey(star, 64, 64, 63);
    for (int i = 0; i < 256; ++i) {
        expectGrey(star, i, 0, 0);
        expectGrey(star, 0, i, 0);
    }
}

TEST_F(GeneratorTest, CheckIsNearlyBlackCellsOfTwoHundredTwentyFive) {
    const std::vector<std::uint8_t> check = make(CHECK);
    expectGrey(check, 0, 0, 1);
    expectGrey(check, 224, 224, 1);
    expectGrey(check, 225, 0, 2);
    expectGrey(check, 0, 225, 2);
    expectGrey(check, 255, 100, 2);
    expectGrey(check, 225, 225, 1);
    expectGrey(check, 255, 255, 1);
}

TEST_F(GeneratorTest, SandIsWarmNoiseWithRareBlackAndWhiteGrains) {
    seedRandom(4242);
    const std::vector<std::uint8_t> sand = make(SAND);
    int grains[2] = {0, 0}, warm = 0;
    for (size_t i = 0; i < sand.size(); i += 4) {
        const int r = sand[i], g = sand[i + 1], b = sand[i + 2], a = sand[i + 3];
        if ((r == 0 || r == 255) && a == 255) {
            ASSERT_EQ(g, r);
            ASSERT_EQ(b, r);
            ++grains[r / 255];
            continue;
        }
        ++warm;
        ASSERT_GE(r, 127);
        ASSERT_LE(r, 253);
        ASSERT_EQ(a, r);
        // Green and blue come from the untruncated red t, with r <= t < r + 1.
        ASSERT_GE(g, static_cast<int>(r * 0.8));
        ASSERT_LE(g, static_cast<int>((r + 1) * 0.8));
        ASSERT_GE(b, static_cast<int>(r * 0.6));
        ASSERT_LE(b, static_cast<int>((r + 1) * 0.6));
    }
    // 33 in 32768 draws each: about 66 of 65536 pixels.
    for (const int n : grains) {
        EXPECT_GT(n, 20);
        EXPECT_LT(n, 150);
    }
    // One draw per pixel, a second only for the warm ones.
    const std::uint32_t expected = stateAfter(4242, 65536 + warm);
    EXPECT_EQ(drawsAfter(4242, [&] { make(SAND); }), expected);
}

TEST_F(GeneratorTest, LuminanceAlphaTakesBothBytesFromAlpha) {
    seedRandom(77);
    const std::vector<std::uint8_t> rgba = make(SAND, 64, 64);
    seedRandom(77);
    const std::vector<std::uint8_t> la = make(SAND, 64, 64, GL_LUMINANCE_ALPHA);
    ASSERT_EQ(la.size() * 2, rgba.size());
    for (size_t i = 0; i < la.size() / 2; ++i) {
        ASSERT_EQ(la[2 * i], rgba[4 * i + 3]) << i;
        ASSERT_EQ(la[2 * i + 1], rgba[4 * i + 3]) << i;
    }
    // Rows of an odd width are packed without padding (unpack alignment 1).
    const std::vector<std::uint8_t> odd = make(GRADIENT, 3, 140, GL_LUMINANCE_ALPHA, false);
    EXPECT_EQ(odd[2 * (130 * 3 + 2)], 255);
    EXPECT_EQ(odd[2 * (139 * 3 + 2) + 1], 246); // row 139: (16 - sqrt(278)) x 15 = -10.1
}

TEST_F(GeneratorTest, SmokeIsNormalisedGreyAndKeepsTheLastRadius) {
    seedRandom(2024);
    EXPECT_GE(peakOfGrey(make(SMOKE)), 254);
    // Thirteen draws per blob: the radius, then six for each centre coordinate. The last radius stays.
    seedRandom(2024);
    for (int i = 0; i < 99 * 13; ++i)
        nextRandom();
    const int lastRadius = static_cast<int>(randRange(256 * 0.24) + 256 * 0.04);
    for (int i = 0; i < 12; ++i)
        nextRandom();
    EXPECT_EQ(slot.blobRadius, lastRadius);
    const std::uint32_t expected = randomState();
    EXPECT_EQ(drawsAfter(2024, [&] { make(SMOKE); }), expected);
}

TEST_F(GeneratorTest, SmokeHandlesWideTinyAndBloblessImages) {
    // Wider than 256 columns: the grid follows the image (the sanitizer build watches its bounds).
    seedRandom(5);
    EXPECT_GE(peakOfGrey(make(SMOKE, 512, 128)), 254);
    // At 4 pixels every radius truncates to 0 or 1; kept at 1, each blob still lights its centre.
    seedRandom(6);
    EXPECT_GE(peakOfGrey(make(SMOKE, 4, 4)), 254);
    EXPECT_EQ(slot.blobRadius, 1);
    // No blobs asked for: one is summed all the same, 13 draws.
    slot.blobCount = 0;
    const std::uint32_t afterOneBlob = stateAfter(7, 13);
    EXPECT_EQ(drawsAfter(7, [&] { EXPECT_GE(peakOfGrey(make(SMOKE, 32, 32)), 254); }), afterOneBlob);
}

TEST_F(GeneratorTest, OnePixelImagesDivideByOneNotZero) {
    expectGrey(make(SPHERE, 1, 1, GL_RGBA, false), 0, 0, 255, 1);
    expectGrey(make(STAR, 1, 1, GL_RGBA, false), 0, 0, 255, 1);
    expectGrey(make(NOTSPHERE, 1, 4, GL_RGBA, false), 0, 0, 255, 1);
}

} // namespace
