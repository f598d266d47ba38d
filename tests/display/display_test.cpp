// Layout of the views, their viewport and pixel projection, and the background read back as pixels.
#include "display/display.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <memory>

#include "tests/support/gl_context.h"
#include "tests/support/image.h"

namespace {
std::array<GLint, 4> viewport() {
    std::array<GLint, 4> v{};
    glGetIntegerv(GL_VIEWPORT, v.data());
    return v;
}

void expectPixels(const View& v, float l, float b, float r, float t) {
    EXPECT_FLOAT_EQ(v.pixLeft, l);
    EXPECT_FLOAT_EQ(v.pixBottom, b);
    EXPECT_FLOAT_EQ(v.pixRight, r);
    EXPECT_FLOAT_EQ(v.pixTop, t);
    EXPECT_FLOAT_EQ(v.pixWidth, r - l);
    EXPECT_FLOAT_EQ(v.pixHeight, t - b);
}

// Channel of a pixel as a fraction.
float channel(const Image& img, int x, int glY, int c) {
    return glPixel(img, x, glY)[c] / 255.0f;
}

class DisplayGl : public GlTest {
  protected:
    void SetUp() override {
        width = 640;
        height = 480;
        GlTest::SetUp();
    }
    // Paints the whole buffer in one colour, as a previous frame would have left it.
    void fill(float r, float g, float b) {
        glClearColor(r, g, b, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    }
    // The display as the frame pipeline prepares it before painting the background.
    std::unique_ptr<Display> makeDisplay() {
        auto d = std::make_unique<Display>();
        d->setSize(640, 480);
        d->layoutViews();
        d->useViewport(0);
        d->useOrtho(0);
        return d;
    }
};
} // namespace

TEST_F(DisplayGl, ConstructionSetsBlackClearColourAndViewZero) {
    glClearColor(0.3f, 0.4f, 0.5f, 0.6f);
    Display d;
    float clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(clear[0], 0.0f);
    EXPECT_EQ(clear[2], 0.0f);
    EXPECT_EQ(clear[3], 1.0f);
    EXPECT_EQ(d.width, 100.0f);
    EXPECT_EQ(d.areaHeight, 100.0f);
    EXPECT_EQ(d.viewCount, 1);
    expectPixels(d.views[0], 0, 0, 100, 100);
    expectPixels(d.views[9], 0, 0, 100, 100);
    EXPECT_EQ(d.views[9].letterboxed, 0);
}

TEST_F(DisplayGl, ViewZeroCoversTheWindowAfterLayout) {
    Display d;
    d.setSize(640, 480);
    EXPECT_EQ(d.right, 640.0f);
    EXPECT_EQ(d.areaHeight, 480.0f);
    expectPixels(d.views[0], 0, 0, 100, 100); // setSize alone moves no view
    d.layoutViews();
    expectPixels(d.views[0], 0, 0, 640, 480);
    d.useViewport(0);
    EXPECT_EQ(viewport(), (std::array<GLint, 4>{0, 0, 640, 480}));
    EXPECT_EQ(d.currentView, 0);

    glMatrixMode(GL_PROJECTION);
    d.useOrtho(0);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    const std::vector<float> p = readMatrix(GL_PROJECTION_MATRIX);
    EXPECT_FLOAT_EQ(p[0], 2.0f / 640.0f);
    EXPECT_FLOAT_EQ(p[5], 2.0f / 480.0f);
    EXPECT_FLOAT_EQ(p[10], -1.0f);
    EXPECT_FLOAT_EQ(p[12], -1.0f);
    EXPECT_FLOAT_EQ(p[13], -1.0f);
    const std::vector<float> m = readMatrix(GL_MODELVIEW_MATRIX);
    EXPECT_EQ(m, (std::vector<float>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));
}

TEST_F(DisplayGl, LetterboxedAndFractionalViews) {
    Display d;
    d.setSize(640, 480);
    d.letterbox = 0.2f;
    d.viewCount = 3;
    d.views[1].letterboxed = 1;
    d.views[2].setNormRect(0.5, 0, 1, 0.5);
    d.views[3].setNormRect(0.5, 0.5, 1, 1); // beyond viewCount: left alone
    d.layoutViews();
    expectPixels(d.views[0], 0, 0, 640, 480); // view 0 ignores the bars
    EXPECT_EQ(d.views[1].frameBottom, 96.0f);
    EXPECT_EQ(d.views[1].frameTop, 384.0f);
    EXPECT_EQ(d.views[1].frameHeight, 288.0f);
    expectPixels(d.views[1], 0, 96, 640, 384);
    expectPixels(d.views[2], 320, 0, 640, 240);
    expectPixels(d.views[3], 0, 0, 100, 100);

    d.useViewport(2);
    EXPECT_EQ(d.currentView, 2);
    EXPECT_EQ(viewport(), (std::array<GLint, 4>{320, 0, 320, 240}));
}

TEST_F(DisplayGl, PixelsAreTruncatedForViewportAndOrtho) {
    View v;
    v.setFrame(100.9, 50.5, 300.7, 250.2);
    v.computePixels();
    v.applyViewport();
    EXPECT_EQ(viewport(), (std::array<GLint, 4>{100, 50, 199, 199}));
    v.applyOrtho();
    const std::vector<float> p = readMatrix(GL_PROJECTION_MATRIX);
    // glOrtho(100, 300, 50, 250, -1, 1)
    EXPECT_FLOAT_EQ(p[0], 2.0f / 200.0f);
    EXPECT_FLOAT_EQ(p[12], -400.0f / 200.0f);
    EXPECT_FLOAT_EQ(p[5], 2.0f / 200.0f);
    EXPECT_FLOAT_EQ(p[13], -300.0f / 200.0f);
}

TEST_F(DisplayGl, NonFinitePixelsGiveADefinedViewport) {
    View v;
    v.setFrame(-1e30, std::numeric_limits<double>::quiet_NaN(), 1e30, 10);
    v.computePixels();
    v.applyViewport(); // the sanitizer build aborts here if a conversion is undefined
    v.applyOrtho();
    glGetError(); // whatever GL made of it, the calls were defined
}

TEST_F(DisplayGl, IndicesOutsideTheViewsAreRefused) {
    auto d = makeDisplay(); // on the heap, so the sanitizer sees any access past the views
    d->views[9].setNormRect(0, 0, 0.5, 0.5);
    d->viewCount = 11;
    d->layoutViews(); // laid out as the ten there are
    expectPixels(d->views[9], 0, 0, 320, 240);

    d->useViewport(9);
    const auto before = viewport();
    const std::vector<float> projection = readMatrix(GL_PROJECTION_MATRIX);
    for (int i : {-1, 10, 1000}) {
        d->useViewport(i);
        d->useOrtho(i);
        EXPECT_EQ(d->currentView, 9);
    }
    EXPECT_EQ(viewport(), before);
    EXPECT_EQ(readMatrix(GL_PROJECTION_MATRIX), projection);

    d->viewCount = -3;
    d->setSize(10, 10);
    d->layoutViews(); // nothing to lay out
    expectPixels(d->views[0], 0, 0, 640, 480);
}

TEST_F(DisplayGl, PlainClearWithoutBarsOrFade) {
    auto d = makeDisplay();
    d->setBackground(0, 0, 1, 1);
    fill(1, 1, 1);
    glDepthMask(GL_FALSE);
    d->drawBackground();
    // Cleared with the constructor's black, never the background colour.
    const Image img = readPixels(640, 480);
    for (int y : {0, 240, 479})
        EXPECT_EQ(glPixel(img, 320, y)[2], 0) << y;
    GLboolean mask = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
    EXPECT_EQ(mask, GL_TRUE);
}

TEST_F(DisplayGl, LetterboxBarsAndOpaqueBackground) {
    auto d = makeDisplay();
    d->letterbox = 0.2f;
    d->setBackground(0.0f, 0.4f, 1.0f, 0.0f); // its alpha is not painted
    fill(1, 1, 1);
    glEnable(GL_BLEND);
    d->drawBackground();
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    const Image img = readPixels(640, 480);
    writePng(testOutputDir() + "/display-letterbox.png", img);
    // The bottom bar reaches y = 97 but the fill starts at 96 and paints over its last row; the top bar
    // starts at 383, where the fill ends.
    for (int y = 0; y < 480; ++y) {
        const bool bar = y < 96 || y >= 383;
        for (int x : {0, 320, 639}) {
            const std::uint8_t* p = glPixel(img, x, y);
            ASSERT_EQ(p[0], 0) << x << "," << y;
            ASSERT_EQ(p[1], bar ? 0 : 102) << x << "," << y;
            ASSERT_EQ(p[2], bar ? 0 : 255) << x << "," << y;
            ASSERT_EQ(p[3], 255) << x << "," << y;
        }
    }
}

TEST_F(DisplayGl, FadedBackgroundLetsThePreviousFrameThrough) {
    auto d = makeDisplay();
    d->letterbox = 0.2f;
    d->setBackground(0.0f, 0.0f, 1.0f, 1.0f);
    d->fadeAlpha = 0.25f;
    fill(1.0f, 0.6f, 0.0f);
    d->drawBackground();
    EXPECT_TRUE(glIsEnabled(GL_BLEND)); // left on for whatever follows
    GLint src = 0, dst = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(src, GL_SRC_ALPHA);
    EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);
    const Image img = readPixels(640, 480);
    writePng(testOutputDir() + "/display-fade.png", img);
    const float tol = 2.0f / 255.0f;
    for (int y : {0, 95, 383, 479}) {
        EXPECT_EQ(glPixel(img, 100, y)[0], 0) << y;
        EXPECT_EQ(glPixel(img, 100, y)[2], 0) << y;
    }
    // Row 96 lies under both the bar and the fill: a quarter of the fill over black.
    EXPECT_NEAR(channel(img, 100, 96, 0), 0.0f, tol);
    EXPECT_NEAR(channel(img, 100, 96, 2), 0.25f, tol);
    for (int y : {97, 240, 382}) {
        EXPECT_NEAR(channel(img, 100, y, 0), 0.75f, tol) << y;
        EXPECT_NEAR(channel(img, 100, y, 1), 0.45f, tol) << y;
        EXPECT_NEAR(channel(img, 100, y, 2), 0.25f, tol) << y;
    }

    // A second frame veils the first once more.
    d->drawBackground();
    const Image again = readPixels(640, 480);
    EXPECT_NEAR(channel(again, 100, 240, 0), 0.5625f, tol);
    EXPECT_NEAR(channel(again, 100, 240, 2), 0.4375f, tol);
}

TEST_F(DisplayGl, FadeWithoutLetterboxLeavesOnePixelBars) {
    auto d = makeDisplay();
    d->setBackground(0.0f, 0.0f, 1.0f, 1.0f);
    d->fadeAlpha = 0.2f;
    fill(1.0f, 1.0f, 1.0f);
    d->drawBackground();
    const Image img = readPixels(640, 480);
    const float tol = 2.0f / 255.0f;
    // Row 0: fill over the bar; rows 1 to 478: fill over the old frame; row 479: bar only.
    EXPECT_NEAR(channel(img, 10, 0, 0), 0.0f, tol);
    EXPECT_NEAR(channel(img, 10, 0, 2), 0.2f, tol);
    for (int y : {1, 478}) {
        EXPECT_NEAR(channel(img, 10, y, 0), 0.8f, tol) << y;
        EXPECT_NEAR(channel(img, 10, y, 2), 1.0f, tol) << y;
    }
    EXPECT_EQ(glPixel(img, 10, 479)[2], 0);
}

TEST_F(DisplayGl, BackgroundAlwaysClearsDepth) {
    auto d = makeDisplay();
    d->letterbox = 0.1f;
    glClearDepth(0.25);
    glClear(GL_DEPTH_BUFFER_BIT);
    glClearDepth(1.0);
    glDepthMask(GL_FALSE);
    d->drawBackground();
    GLfloat depth = 0.0f;
    glReadPixels(5, 240, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_FLOAT_EQ(depth, 1.0f);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST)); // not touched
}
