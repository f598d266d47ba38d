// The particle cloud: clamps and placement, the random-walk step and its kicks, and the camera-facing
// quads read back through feedback mode.
#include "effects/particle_cloud.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "display/camera.h"
#include "tests/effects/feedback.h"
#include "tests/support/gl_context.h"

namespace {
// The scene keeps its one cloud in static storage; the tests keep theirs on the heap.
std::unique_ptr<ParticleCloud> cloudOf(std::int32_t count) {
    auto cloud = std::make_unique<ParticleCloud>();
    cloud->count = count;
    return cloud;
}
using ParticleCloudGl = GlTest;
} // namespace

TEST(ParticleCloud, InitClampsItsParametersAndPlacesInTheShell) {
    auto cloud = cloudOf(6000);
    cloud->shape = SHAPE_DOME;
    cloud->innerSize = 3.0f;
    cloud->init();
    EXPECT_EQ(cloud->count, MAX_PARTICLES);
    EXPECT_FLOAT_EQ(cloud->innerSize, 1.8f);
    int tinted = 0;
    for (int i = 0; i < MAX_PARTICLES; ++i) {
        const float q = cloud->posX[i] * cloud->posX[i] + cloud->posY[i] * cloud->posY[i] +
                        cloud->posZ[i] * cloud->posZ[i];
        ASSERT_GE(cloud->posY[i], 0.0f);
        ASSERT_TRUE(q <= 1.0f + 1e-6f && q >= 0.91f * 0.91f - 1e-6f) << q;
        ASSERT_EQ(cloud->velX[i], 0.0f);
        ASSERT_TRUE(cloud->colorR[i] >= 0.4f && cloud->colorR[i] < 1.3f);
        tinted += cloud->colorR[i] < 0.9f || cloud->colorG[i] < 0.9f || cloud->colorB[i] < 0.9f;
    }
    EXPECT_NEAR(tinted, 456, 100); // one in ten tinted, nine in ten of those below the pale range

    cloud->count = 2;
    cloud->innerSize = 0.0f;
    cloud->outerSize = 0.01f; // a shell with no room: init still ends
    cloud->init();
    EXPECT_LE(std::abs(cloud->posX[1]), 0.005f);
}

TEST(ParticleCloud, StepKicksWithProbabilityDtWithinHalfTheKick) {
    auto cloud = cloudOf(200);
    for (int i = 0; i < 200; ++i)
        cloud->velX[i] = cloud->velY[i] = cloud->velZ[i] = 100.0f;
    seedRandom(9);
    cloud->step(0.0f, 0.5f); // no time: nothing moves, nothing is kicked, one draw each
    EXPECT_EQ(randomState(), stateAfterDraws(9, 200));
    EXPECT_EQ(cloud->posX[7], 0.0f);
    EXPECT_EQ(cloud->velZ[7], 100.0f);

    seedRandom(21);
    cloud->step(1.0f, 0.5f); // a whole second: every particle kicked, on one axis
    EXPECT_EQ(randomState(), stateAfterDraws(21, 3 * 200));
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(cloud->posX[i], 100.0f); // moved with the velocity from before its kick
        int kicked = 0;
        for (float v : {cloud->velX[i], cloud->velY[i], cloud->velZ[i]}) {
            if (v == 100.0f) continue;
            ++kicked;
            EXPECT_TRUE(v >= -0.25f && v < 0.25f) << v;
        }
        EXPECT_EQ(kicked, 1);
    }

    cloud->count = 6000; // set past the tables without init: only the tables take part
    seedRandom(8);
    cloud->step(0.0f, 0.5f);
    EXPECT_EQ(randomState(), stateAfterDraws(8, MAX_PARTICLES));
}

TEST_F(ParticleCloudGl, DrawsQuadsFacingTheCameraAndSwitchesOffBehindItself) {
    auto cloud = cloudOf(0);
    Camera camera;
    camera.right = {0.0f, 0.0f, -1.0f}; // turned by 90 degrees about y
    camera.up = {0.0f, 1.0f, 0.0f};
    glEnable(GL_BLEND);
    cloud->draw(camera, 1.0f); // empty: touches nothing
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));

    cloud->count = 6000;
    cloud->posX[0] = 1.0f;
    cloud->posY[0] = 2.0f;
    cloud->quadSize = 0.5f;
    cloud->alpha = 0.5f;
    cloud->alphaTest = 1;
    cloud->blendSrc = 2;
    cloud->blendDst = 3;
    feedbackBox(4.0f, 800);
    const auto triangles = captureFeedback(4.0f, 800, [&] { cloud->draw(camera, 0.5f); });
    EXPECT_EQ(triangles.size(), 2u * MAX_PARTICLES); // no further than the tables
    // p -/+ R -/+ U with the texture corners, whichever way Mesa splits the quad.
    const float corners[4][5] = {
        {1, 1.5f, 0.5f, 0, 0}, {1, 1.5f, -0.5f, 1, 0}, {1, 2.5f, -0.5f, 1, 1}, {1, 2.5f, 0.5f, 0, 1}};
    for (const auto& c : corners) {
        int found = 0;
        for (size_t t = 0; t < 2; ++t)
            for (const FeedbackVertex& v : triangles[t].vertices)
                if (std::abs(v.x - c[0]) + std::abs(v.y - c[1]) + std::abs(v.z - c[2]) < 1e-3f) {
                    ++found;
                    EXPECT_EQ(v.s, c[3]);
                    EXPECT_EQ(v.t, c[4]);
                    EXPECT_FLOAT_EQ(v.a, 0.25f);
                }
        EXPECT_GT(found, 0);
    }
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    GLint src = 0, dst = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(src, GL_SRC_ALPHA);
    EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);
}
