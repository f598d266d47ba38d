// Fog parameters and the light, read back from a real context: glGetFloatv, glGetLightfv, feedback mode
// and pixels.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "effects/fog.h"
#include "effects/light.h"
#include "tests/support/gl_context.h"
#include "tests/support/image.h"

namespace {
std::vector<float> fogColor() {
    std::vector<float> c(4);
    glGetFloatv(GL_FOG_COLOR, c.data());
    return c;
}

std::vector<float> lightParam(GLenum light, GLenum param) {
    std::vector<float> v(4, -7.0f);
    glGetLightfv(light, param, v.data());
    return v;
}

bool anyLightEnabled() {
    for (int i = 0; i < 8; ++i)
        if (glIsEnabled(GL_LIGHT0 + i)) return true;
    return false;
}

// Window coordinates from x = -5 to 5 onto 0 to 100 pixels, in both directions.
void tenPixelsPerUnit() {
    glViewport(0, 0, 100, 100);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-5, 5, -5, 5, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

using FogGl = GlTest;
using LightGl = GlTest;
} // namespace

TEST_F(FogGl, ApplyHandsOverEverySettingButDoesNotEnable) {
    Fog f;
    f.apply();
    GLint mode = 0, hint = 0;
    glGetIntegerv(GL_FOG_MODE, &mode);
    glGetIntegerv(GL_FOG_HINT, &hint);
    EXPECT_EQ(mode, GL_LINEAR);
    EXPECT_EQ(hint, GL_NICEST);
    EXPECT_EQ(fogColor(), (std::vector<float>{0, 0, 0, 1}));
    float start = 0, end = 0;
    glGetFloatv(GL_FOG_START, &start);
    glGetFloatv(GL_FOG_END, &end);
    EXPECT_FLOAT_EQ(start, 0.2f);
    EXPECT_FLOAT_EQ(end, 2.0f);
    EXPECT_FALSE(glIsEnabled(GL_FOG));
}

TEST_F(FogGl, ColourReachesGlOnlyThroughApply) {
    Fog f;
    f.setColor(0.0f, 0.0f, 0.075f, 0.0f);
    EXPECT_EQ(f.color[2], 0.075f);
    EXPECT_EQ(f.color[3], 0.0f);
    EXPECT_EQ(fogColor(), (std::vector<float>{0, 0, 0, 0})); // GL's own default, untouched

    f.start = 0.2f;
    f.end = 2.5f;
    f.apply();
    const std::vector<float> c = fogColor();
    EXPECT_FLOAT_EQ(c[2], 0.075f);
    EXPECT_FLOAT_EQ(c[3], 0.0f);
    float end = 0;
    glGetFloatv(GL_FOG_END, &end);
    EXPECT_FLOAT_EQ(end, 2.5f);
}

TEST_F(LightGl, EnableSetsPositionInEyeSpaceAndLeavesColoursAlone) {
    Light l;
    EXPECT_EQ(l.index, 0);
    EXPECT_EQ(l.markerRadius, 1.0f);
    l.index = 3;
    l.colorRed = 0.2f; // the colours belong to the building materials, not to the light
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(0, 0, -5);
    l.enable();
    EXPECT_TRUE(glIsEnabled(GL_LIGHT3));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(l.glPosition[0], 1.0f);
    EXPECT_EQ(l.glPosition[3], 1.0f);
    // Transformed by the model-view matrix current at the call.
    EXPECT_EQ(lightParam(GL_LIGHT3, GL_POSITION), (std::vector<float>{1, 1, -4, 1}));
    const std::vector<float> spot = lightParam(GL_LIGHT3, GL_SPOT_DIRECTION);
    EXPECT_EQ(spot[0], 0.0f);
    EXPECT_EQ(spot[1], 0.0f);
    EXPECT_EQ(spot[2], 0.0f);
    EXPECT_EQ(lightParam(GL_LIGHT3, GL_DIFFUSE), (std::vector<float>{0, 0, 0, 1}));
    EXPECT_EQ(lightParam(GL_LIGHT3, GL_SPECULAR), (std::vector<float>{0, 0, 0, 1}));
    EXPECT_EQ(lightParam(GL_LIGHT3, GL_AMBIENT), (std::vector<float>{0, 0, 0, 1}));
}

TEST_F(LightGl, MovingWithoutApplyKeepsWhereItShines) {
    Light l;
    l.apply();
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0)); // apply alone switches nothing on
    l.posX = 6.0f;
    l.posY = 0.75f;
    l.posZ = -2.0f;
    EXPECT_EQ(lightParam(GL_LIGHT0, GL_POSITION), (std::vector<float>{1, 1, 1, 1}));
    l.apply();
    EXPECT_EQ(lightParam(GL_LIGHT0, GL_POSITION), (std::vector<float>{6, 0.75f, -2, 1}));
}

TEST_F(LightGl, LightNumbersOutsideTheTableAreRefused) {
    Light l;
    l.posX = 4.0f;
    for (int index : {-1, 8, 100000}) {
        l.index = index;
        l.enable();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << index;
        EXPECT_FALSE(anyLightEnabled()) << index; // not clamped onto a neighbour either
    }
    EXPECT_EQ(lightParam(GL_LIGHT0, GL_POSITION), (std::vector<float>{0, 0, 1, 0})); // GL's default
    EXPECT_EQ(lightParam(GL_LIGHT7, GL_POSITION), (std::vector<float>{0, 0, 1, 0}));
    l.index = 7;
    l.enable();
    EXPECT_TRUE(glIsEnabled(GL_LIGHT7));
    EXPECT_EQ(lightParam(GL_LIGHT7, GL_POSITION)[0], 4.0f);
}

TEST_F(LightGl, MarkerIsASphereAtTheLightInItsBaseColour) {
    tenPixelsPerUnit();
    Light l; // radius 1 at (1, 1, 1)
    l.colorRed = 1.0f;
    l.colorGreen = 0.5f;
    l.colorBlue = 0.25f;
    const std::vector<float> before = readMatrix(GL_MODELVIEW_MATRIX);

    std::vector<GLfloat> buffer(20000);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    l.drawMarker();
    const GLint used = glRenderMode(GL_RENDER);
    ASSERT_GT(used, 0);

    // GL_3D_COLOR vertices: x, y, z and RGBA.
    int polygons = 0, vertices = 0;
    float farthest = 0.0f;
    for (GLint i = 0; i < used;) {
        ASSERT_EQ(buffer[i], static_cast<GLfloat>(GL_POLYGON_TOKEN));
        const int n = static_cast<int>(buffer[i + 1]);
        ++polygons;
        for (int k = 0; k < n; ++k) {
            const GLfloat* v = &buffer[i + 2 + k * 7];
            const float dx = v[0] - 60.0f, dy = v[1] - 60.0f; // (1, 1) is pixel (60, 60)
            const float r = std::sqrt(dx * dx + dy * dy);
            EXPECT_LE(r, 10.0f + 1e-3f);
            if (r > farthest) farthest = r;
            EXPECT_FLOAT_EQ(v[3], 1.0f);
            EXPECT_FLOAT_EQ(v[4], 0.5f);
            EXPECT_FLOAT_EQ(v[5], 0.25f);
            ++vertices;
        }
        i += 2 + n * 7;
    }
    EXPECT_GT(farthest, 9.8f); // the radius is markerRadius, in scene units
    EXPECT_EQ(polygons, 180);  // ten slices and stacks: nine strips of twenty triangles
    EXPECT_EQ(vertices, polygons * 3);
    EXPECT_EQ(readMatrix(GL_MODELVIEW_MATRIX), before); // the translation is popped again
}

TEST_F(LightGl, MarkerPixels) {
    tenPixelsPerUnit();
    Light l;
    l.markerRadius = 0.5f;
    l.posX = -2.0f;
    l.posY = 0.0f;
    l.posZ = 0.0f;
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    l.drawMarker();
    const Image img = readPixels(64, 64);
    writePng(testOutputDir() + "/light-marker.png", img);
    // The marker covers x 25 to 35, y 45 to 55 in a 100-pixel viewport cut to the 64 x 64 buffer.
    const std::uint8_t* centre = glPixel(img, 30, 50);
    EXPECT_EQ(centre[0], 255);
    EXPECT_EQ(centre[1], 255);
    EXPECT_EQ(centre[2], 255);
    EXPECT_EQ(glPixel(img, 30, 57)[0], 0);
    EXPECT_EQ(glPixel(img, 40, 50)[0], 0);
    EXPECT_EQ(glPixel(img, 30, 43)[0], 0);
}
