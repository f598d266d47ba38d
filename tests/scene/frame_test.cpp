#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "math/random.h"
#include "scene/frame_pipeline.h"
#include "scene/scene_globals.h"
#include "tests/scene/scene_fixture.h"

namespace {
bool isBlack(const std::uint8_t* p) {
    return p[0] == 0 && p[1] == 0 && p[2] == 0;
}

// How far a pixel is from the fog colour (0, 0, 19).
int distanceFromFog(const Image& image, size_t i) {
    return image.rgba[i] + image.rgba[i + 1] + std::abs(image.rgba[i + 2] - 19);
}
} // namespace

class Frame : public SceneTest {};

TEST_F(Frame, FirstFrameIsOpaqueWithBarsThatFollowTheLetterboxOscillator) {
    startScene();
    EXPECT_EQ(display.fadeAlpha, 0.2f);
    frame();
    EXPECT_EQ(display.fadeAlpha, 1.0f);
    EXPECT_EQ(display.letterbox, static_cast<float>(letterboxOsc.value()));
    EXPECT_EQ(letterboxAmount, letterboxOsc.value());
    EXPECT_GE(display.letterbox, 0.0f);
    EXPECT_LE(display.letterbox, 0.25f);

    // Let the bars breathe a while and check the picture follows: black bars, the picture between.
    for (int i = 0; i < 20; ++i)
        frame(1000);
    const Image image = readPixels(width, height);
    const int bar = static_cast<int>(height * display.letterbox);
    ASSERT_GT(bar, 2) << "pick a later moment: the bars are nearly closed";
    for (int x = 0; x < width; x += 7) {
        EXPECT_TRUE(isBlack(glPixel(image, x, 0)));
        EXPECT_TRUE(isBlack(glPixel(image, x, bar - 1)));
        EXPECT_TRUE(isBlack(glPixel(image, x, height - bar)));
    }
    long lit = 0;
    for (int y = bar + 1; y < height - bar - 1; ++y)
        for (int x = 0; x < width; ++x)
            lit += isBlack(glPixel(image, x, y)) ? 0 : 1;
    EXPECT_GT(lit, (height - 2 * bar) * width / 2) << "the picture between the bars is mostly lit";
}

TEST_F(Frame, LeavesTheBuildingSwitchesOffAndTheGeneratorWhereItWas) {
    startScene();
    frame();
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_FOG));
    // The building pass re-seeds per storey, so every frame ends with the generator in one state.
    const std::uint32_t state = randomState();
    for (int i = 0; i < 5; ++i) {
        frame();
        EXPECT_EQ(randomState(), state);
    }
}

TEST_F(Frame, TogglesAroundTheBuildingPass) {
    startScene();
    frame();
    applySceneToggles();
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_FOG));
    GLboolean mask = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
    EXPECT_EQ(mask, GL_TRUE);
    restoreSceneToggles();
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));

    // Depth test off leaves the depth mask as the pass before left it.
    enableDepthTest = 0;
    enableBlend = 1;
    glDepthMask(GL_FALSE);
    applySceneToggles();
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
    EXPECT_EQ(mask, GL_FALSE);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    GLint src = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    EXPECT_EQ(src, GL_SRC_ALPHA);
    restoreSceneToggles();
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(Frame, WithoutViewsOnlyTheBarsAndBackgroundAreDrawn) {
    startScene();
    showViews = 0;
    frame();
    const Image image = readPixels(width, height);
    const float bar = height * display.letterbox;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = glPixel(image, x, y);
            const float centre = y + 0.5f;
            if (centre < bar || centre >= height - bar - 1.0f) {
                // The bars; the fill between is drawn after them and starts at the lower bar's height.
                ASSERT_TRUE(isBlack(p)) << x << "," << y;
                continue;
            }
            ASSERT_EQ(p[0], 0) << x << "," << y;
            ASSERT_EQ(p[1], 0) << x << "," << y;
            ASSERT_EQ(p[2], 19) << x << "," << y; // 0.075 of full blue
        }
}

// Draws the current moment again without stepping anything.
static void redrawMoment() {
    display.useViewport(0);
    display.useOrtho(0);
    display.drawBackground();
    display.layoutViews();
    display.useViewport(1);
    display.views[1].camera.applyProjection(display);
    renderView();
}

TEST_F(Frame, FogSinksTheBuildingsIntoTheBackground) {
    startScene();
    for (int i = 0; i < 30; ++i)
        frame();
    redrawMoment();
    const Image clear = readPixels(width, height);
    redrawMoment();
    EXPECT_EQ(readPixels(width, height).rgba, clear.rgba) << "a redraw of one moment is identical";
    enableFog = 1;
    redrawMoment();
    const Image fogged = readPixels(width, height);
    // Every pixel fog touches moves toward the fog colour (the stars and the ground stay as they were).
    long closer = 0, farther = 0;
    for (size_t i = 0; i < clear.rgba.size(); i += 4) {
        const int before = distanceFromFog(clear, i), after = distanceFromFog(fogged, i);
        closer += after < before ? 1 : 0;
        farther += after > before ? 1 : 0;
    }
    EXPECT_EQ(farther, 0);
    EXPECT_GT(closer, width * height / 10);
    EXPECT_FALSE(glIsEnabled(GL_FOG));
}

TEST_F(Frame, ALongPauseMovesEverythingByTheWholePause) {
    startScene();
    frame();
    const double phase = camPosXOsc.phase;
    const float lightX = light.posX;
    frame(600000); // ten minutes without a tick
    EXPECT_NEAR(frameClock.deltaSeconds, 600.0, 1e-6);
    EXPECT_NEAR(camPosXOsc.phase - phase, 0.06 * 600.0 * camPosXOsc.throttle, 1e-6);
    EXPECT_EQ(light.posX, static_cast<float>(std::sin(0.1 * frameClock.currentSeconds) * 6.0));
    EXPECT_NE(light.posX, lightX);
}

TEST_F(Frame, AViewWithNoHeightIsSkipped) {
    resize(64, 1);
    frameClockSource = simulatedReading;
    startScene();
    display.letterbox = 0.5f; // squeezes view 1 to nothing
    letterboxOsc.range = 0.0;
    letterboxOsc.offset = 0.6;
    frame();
    EXPECT_LE(display.views[1].pixHeight, 0.0f);
    const std::vector<float> projection = readMatrix(GL_PROJECTION_MATRIX);
    for (float v : projection)
        EXPECT_TRUE(std::isfinite(v));
}
