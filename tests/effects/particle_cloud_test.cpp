// The particle cloud: parameter clamps, placement and colours, the random-walk step with its kicks, and
// the camera-facing quads read back through feedback mode.
#include "effects/particle_cloud.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "display/camera.h"
#include "math/random.h"
#include "tests/effects/feedback.h"
#include "tests/support/gl_context.h"

namespace {
// The cloud is large; the scene keeps its one instance in static storage, the tests on the heap.
std::unique_ptr<ParticleCloud> makeCloud(std::int32_t count) {
    auto cloud = std::make_unique<ParticleCloud>();
    cloud->count = count;
    return cloud;
}

using ParticleCloudGl = GlTest;
} // namespace

TEST(ParticleCloud, InitClampsCountAndHollowAndPlacesInTheDome) {
    auto cloud = makeCloud(6000);
    cloud->shape = SHAPE_DOME;
    cloud->innerSize = 3.0f;
    seedRandom(11);
    cloud->init();
    EXPECT_EQ(cloud->count, MAX_PARTICLES);
    EXPECT_FLOAT_EQ(cloud->innerSize, 1.8f);
    cloud->init();
    EXPECT_EQ(cloud->count, MAX_PARTICLES);

    const float h = 1.0f, hi = 0.91f;
    int tinted = 0;
    for (int i = 0; i < MAX_PARTICLES; ++i) {
        const float q = cloud->posX[i] * cloud->posX[i] + cloud->posY[i] * cloud->posY[i] +
                        cloud->posZ[i] * cloud->posZ[i];
        ASSERT_GE(cloud->posY[i], 0.0f);
        ASSERT_LE(q, h * (1 + 1e-6f));
        ASSERT_GE(q, hi * hi * (1 - 1e-6f));
        ASSERT_EQ(cloud->velX[i], 0.0f);
        ASSERT_EQ(cloud->velY[i], 0.0f);
        ASSERT_EQ(cloud->velZ[i], 0.0f);
        for (float c : {cloud->colorR[i], cloud->colorG[i], cloud->colorB[i]}) {
            ASSERT_GE(c, 0.4f - 1e-6f);
            ASSERT_LT(c, 1.3f);
        }
        if (cloud->colorR[i] < 0.9f || cloud->colorG[i] < 0.9f || cloud->colorB[i] < 0.9f) ++tinted;
    }
    // One in ten tinted, most of those with some component below the pale range.
    EXPECT_GT(tinted, 300);
    EXPECT_LT(tinted, 700);
}

TEST(ParticleCloud, InitDrawsPositionThenRedGreenBlue) {
    auto cloud = makeCloud(1);
    // Seed 1: 41, 18467, 6334 for the position, 26500 (pale), then 19169, 15724, 11478 for the colour.
    seedRandom(1);
    cloud->init();
    EXPECT_EQ(cloud->posX[0], static_cast<float>((41 / 32768.0 * 2 - 1) * 1.0f));
    EXPECT_EQ(cloud->colorR[0], static_cast<float>(19169 / 32768.0 * 0.4f + 0.9f));
    EXPECT_EQ(cloud->colorG[0], static_cast<float>(15724 / 32768.0 * 0.4f + 0.9f));
    EXPECT_EQ(cloud->colorB[0], static_cast<float>(11478 / 32768.0 * 0.4f + 0.9f));
}

TEST(ParticleCloud, InitOnAnEmptyShellEnds) {
    auto cloud = makeCloud(2);
    cloud->outerSize = 0.01f;
    seedRandom(3);
    cloud->init();
    EXPECT_LE(cloud->posX[1] < 0 ? -cloud->posX[1] : cloud->posX[1], 0.005f);
}

TEST(ParticleCloud, StepWithoutTimeMovesAndKicksNothing) {
    auto cloud = makeCloud(50);
    for (int i = 0; i < 50; ++i) {
        cloud->posX[i] = 1.0f;
        cloud->velX[i] = 3.0f;
        cloud->velY[i] = -2.0f;
    }
    seedRandom(9);
    cloud->step(0.0f, 0.5f);
    EXPECT_EQ(randomState(), stateAfterDraws(9, 50)); // one kick test per particle
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(cloud->posX[i], 1.0f);
        EXPECT_EQ(cloud->velX[i], 3.0f);
        EXPECT_EQ(cloud->velY[i], -2.0f);
        EXPECT_EQ(cloud->velZ[i], 0.0f);
    }
}

TEST(ParticleCloud, StepOfOneSecondKicksEveryParticleOnOneAxis) {
    auto cloud = makeCloud(200);
    const float sentinel = 100.0f;
    for (int i = 0; i < 200; ++i)
        cloud->velX[i] = cloud->velY[i] = cloud->velZ[i] = sentinel;
    seedRandom(21);
    cloud->step(1.0f, 0.5f);
    // Kick test, axis and value for every particle.
    EXPECT_EQ(randomState(), stateAfterDraws(21, 3 * 200));
    int axes[3] = {0, 0, 0};
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(cloud->posX[i], sentinel); // moved with the velocity from before the kick
        const float v[3] = {cloud->velX[i], cloud->velY[i], cloud->velZ[i]};
        int kicked = 0;
        for (int a = 0; a < 3; ++a) {
            if (v[a] == sentinel) continue;
            ++kicked;
            ++axes[a];
            EXPECT_GE(v[a], -0.25f);
            EXPECT_LT(v[a], 0.25f);
        }
        EXPECT_EQ(kicked, 1);
    }
    for (int a = 0; a < 3; ++a)
        EXPECT_GT(axes[a], 30);
}

TEST(ParticleCloud, KicksStayInsideHalfTheKickEitherWay) {
    auto cloud = makeCloud(100);
    seedRandom(4);
    float lowest = 1, highest = -1;
    for (int s = 0; s < 200; ++s) {
        cloud->step(0.5f, 2.0f);
        for (int i = 0; i < 100; ++i) {
            for (float v : {cloud->velX[i], cloud->velY[i], cloud->velZ[i]}) {
                lowest = v < lowest ? v : lowest;
                highest = v > highest ? v : highest;
            }
        }
    }
    EXPECT_GE(lowest, -1.0f);
    EXPECT_LT(highest, 1.0f);
    EXPECT_LT(lowest, -0.98f);
    EXPECT_GT(highest, 0.98f);
}

TEST(ParticleCloud, ACountPastTheTablesStepsOnlyTheTables) {
    auto cloud = makeCloud(6000); // set without init
    seedRandom(8);
    cloud->step(0.0f, 0.5f);
    EXPECT_EQ(randomState(), stateAfterDraws(8, MAX_PARTICLES));
}

TEST_F(ParticleCloudGl, DrawsOneQuadPerParticleFacingTheCamera) {
    auto cloud = makeCloud(2);
    cloud->posX[1] = 1.0f;
    cloud->posY[1] = 2.0f;
    cloud->colorR[1] = 0.5f;
    cloud->quadSize = 0.5f;
    cloud->alpha = 0.5f;
    Camera camera;
    // A camera turned by 90 degrees about y: its right is -z.
    camera.right = {0.0f, 0.0f, -1.0f};
    camera.up = {0.0f, 1.0f, 0.0f};
    feedbackBox(4.0f, 800);
    const auto polygons = captureFeedback(4.0f, 800, [&] { cloud->draw(camera, 0.5f); });
    ASSERT_EQ(polygons.size(), 4u); // two triangles per quad
    // The second quad's corners p -/+ R -/+ U with their texture corners, whichever way Mesa splits it.
    const float expected[4][5] = {{1.0f, 1.5f, 0.5f, 0, 0},
                                  {1.0f, 1.5f, -0.5f, 1, 0},
                                  {1.0f, 2.5f, -0.5f, 1, 1},
                                  {1.0f, 2.5f, 0.5f, 0, 1}};
    for (const auto& e : expected) {
        bool found = false;
        for (size_t t = 2; t < 4; ++t)
            for (const FeedbackVertex& v : polygons[t].vertices) {
                if (std::abs(v.x - e[0]) > 1e-3f || std::abs(v.y - e[1]) > 1e-3f ||
                    std::abs(v.z - e[2]) > 1e-3f)
                    continue;
                found = true;
                EXPECT_EQ(v.s, e[3]);
                EXPECT_EQ(v.t, e[4]);
                EXPECT_FLOAT_EQ(v.r, 0.5f);
                EXPECT_FLOAT_EQ(v.a, 0.25f);
            }
        EXPECT_TRUE(found) << e[0] << " " << e[1] << " " << e[2];
    }

    // A count set past the tables without init draws only what they hold.
    cloud->count = 6000;
    cloud->quadSize = 0.001f;
    const auto all = captureFeedback(4.0f, 800, [&] { cloud->draw(camera, 1.0f); });
    EXPECT_EQ(all.size(), 2u * MAX_PARTICLES);
}

TEST_F(ParticleCloudGl, DrawSwitchesOffWhatItSwitchedOnAndAnEmptyCloudTouchesNothing) {
    auto cloud = makeCloud(0);
    Camera camera;
    camera.right = {1, 0, 0};
    camera.up = {0, 1, 0};
    glEnable(GL_BLEND);
    glEnable(GL_ALPHA_TEST);
    glDepthMask(GL_TRUE);
    cloud->draw(camera, 1.0f);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    GLboolean mask = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
    EXPECT_EQ(mask, GL_TRUE);

    cloud->count = 1;
    cloud->alphaTest = 1;
    cloud->alphaRef = 0.01f;
    cloud->blendSrc = 2;
    cloud->blendDst = 3;
    cloud->depthWrite = 1;
    cloud->draw(camera, 1.0f);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
    EXPECT_EQ(mask, GL_FALSE);
    GLint src = 0, dst = 0, func = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    glGetIntegerv(GL_ALPHA_TEST_FUNC, &func);
    EXPECT_EQ(src, GL_SRC_ALPHA);
    EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_EQ(func, GL_GREATER);
}
