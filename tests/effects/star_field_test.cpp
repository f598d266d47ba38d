// The star field: the shell rules, the bound on hopeless shells, and the compiled list and its layered
// draw read back through feedback mode.
#include "effects/star_field.h"

#include <gtest/gtest.h>

#include <cmath>

#include "display/camera.h"
#include "tests/effects/feedback.h"
#include "tests/support/gl_context.h"

namespace {
constexpr float EPS = 2e-3f;

// The first three numbers from seed 1 are 41, 18467 and 6334.
float firstCoordinate(int r, float h) {
    return static_cast<float>((r / 32768.0 * 2 - 1) * h);
}

std::vector<FeedbackPrimitive> drawn(StarField& field, const Camera& camera) {
    feedbackBox(8.0f, 1600);
    return captureFeedback(8.0f, 1600, [&] { field.draw(camera); });
}
using StarFieldGl = GlTest;
} // namespace

TEST(ShellPlacement, KeepsEachShapeInItsShellDrawingXYZInOrder) {
    seedRandom(2024);
    const float h = 1.5f, hi = 0.4f;
    bool below = false;
    for (int i = 0; i < 3000; ++i) {
        float x, y, z;
        placeInShell(SHAPE_CUBE, h, hi, x, y, z);
        ASSERT_TRUE(std::abs(x) >= hi || std::abs(y) >= hi || std::abs(z) >= hi);
        ASSERT_TRUE(std::abs(x) <= h && std::abs(y) <= h && std::abs(z) <= h);
        for (std::int32_t shape : {SHAPE_DOME, SHAPE_BALL}) {
            placeInShell(shape, h, hi, x, y, z);
            const float q = x * x + y * y + z * z;
            ASSERT_LE(q, h * (1 + 1e-6f)); // against h itself: a radius of sqrt(1.5)
            ASSERT_GE(q, hi * hi * (1 - 1e-6f));
            ASSERT_TRUE(shape != SHAPE_DOME || y >= 0.0f);
            below = below || y < 0.0f;
        }
    }
    EXPECT_TRUE(below); // only the dome is cut at the ground

    seedRandom(1);
    float x, y, z;
    placeInShell(SHAPE_CUBE, 1.5f, 0.01f, x, y, z);
    EXPECT_EQ(x, firstCoordinate(41, 1.5f));
    EXPECT_EQ(y, firstCoordinate(18467, 1.5f));
    EXPECT_EQ(z, firstCoordinate(6334, 1.5f));
    EXPECT_EQ(randomState(), stateAfterDraws(1, 3));
}

TEST(ShellPlacement, GivesUpOnAnEmptyShellKeepingTheLastDraw) {
    // An outer half-size of 0.005 lies inside the hollow's 0.01: no draw can ever fit.
    for (std::int32_t shape : {SHAPE_CUBE, SHAPE_DOME, SHAPE_BALL}) {
        seedRandom(77);
        float x, y, z;
        placeInShell(shape, 0.005f, 0.01f, x, y, z);
        EXPECT_EQ(randomState(), stateAfterDraws(77, 3L * MAX_PLACEMENT_ATTEMPTS));
        seedRandom(stateAfterDraws(77, 3L * MAX_PLACEMENT_ATTEMPTS - 3));
        EXPECT_EQ(x, static_cast<float>((randRange(2.0) - 1) * 0.005f));
        EXPECT_EQ(y, static_cast<float>((randRange(2.0) - 1) * 0.005f));
    }
}

TEST_F(StarFieldGl, BuildsStarsPerLayerForAnyParameters) {
    StarField field;
    Camera camera;
    field.starCount = 2000 / 3;
    field.layers = 2;
    field.outerSize = 3.0;
    field.shape = SHAPE_DOME;
    field.build();
    feedbackBox(8.0f, 1600);
    const auto points = captureFeedback(8.0f, 1600, [&] { glCallList(field.listId); });
    ASSERT_EQ(points.size(), 333u);
    for (const auto& p : points)
        EXPECT_GE(p.vertices[0].y, -EPS);

    field.starCount = 1; // fewer stars than layers: an empty list that still exists
    field.build();
    EXPECT_TRUE(glIsList(field.listId));
    EXPECT_TRUE(drawn(field, camera).empty());

    for (std::int32_t layers : {0, -3}) { // no layers count as one
        field.starCount = 5;
        field.layers = layers;
        field.build();
        EXPECT_EQ(drawn(field, camera).size(), 5u);
    }
    field.innerSize = 5.0; // lowered to 0.9 of the cube, and it stays so
    field.build();
    EXPECT_DOUBLE_EQ(field.innerSize, 2.7);
    field.innerSize = 0.0;
    field.outerSize = 0.01; // smaller than its hollow: each star stays at its last draw
    field.build();
    EXPECT_EQ(drawn(field, camera).size(), 5u);
}

TEST_F(StarFieldGl, LayersTurnAboutTheVerticalAroundTheFollowedCamera) {
    StarField field;
    field.starCount = 2;
    field.layers = 2;
    field.blend = 1;
    field.depthTest = 1;
    seedRandom(1);
    field.build();
    const float x = firstCoordinate(41, 1.0f), y = firstCoordinate(18467, 1.0f),
                z = firstCoordinate(6334, 1.0f);
    Camera camera;
    camera.transform.position.set(1.0f, 2.0f, 3.0f);
    for (int follow = 0; follow < 2; ++follow) {
        field.followCamera = follow;
        const auto points = drawn(field, camera);
        ASSERT_EQ(points.size(), 2u);
        // The pivot's scene z is the negated position z; the first pass is turned by 180 degrees.
        const float dx = follow ? 1.0f : 0.0f, dy = follow ? 2.0f : 0.0f, dz = follow ? -3.0f : 0.0f;
        const FeedbackVertex &turned = points[0].vertices[0], &own = points[1].vertices[0];
        EXPECT_NEAR(turned.x, -x + dx, EPS);
        EXPECT_NEAR(turned.z, -z + dz, EPS);
        EXPECT_NEAR(own.x, x + dx, EPS);
        EXPECT_NEAR(own.y, y + dy, EPS);
        EXPECT_NEAR(own.z, z + dz, EPS);
        // Seed 1 goes on 26500 (a pale star), then blue, green, red from 19169, 15724, 11478.
        EXPECT_FLOAT_EQ(own.b, static_cast<float>(19169 / 32768.0 * 0.3 + 0.7));
        EXPECT_FLOAT_EQ(own.r, static_cast<float>(11478 / 32768.0 * 0.3 + 0.7));
    }
    float size = 0;
    glGetFloatv(GL_POINT_SIZE, &size);
    EXPECT_EQ(size, 2.0f);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));

    const GLuint id = field.listId;
    field.release();
    EXPECT_FALSE(glIsList(id));
    glEnable(GL_DEPTH_TEST);
    field.draw(camera); // released: draws nothing and leaves the state alone
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}
