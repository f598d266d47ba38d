// The billboard sprite through feedback mode: corners, texture corners, the billboard turn and the spin.
#include "effects/sprite.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "display/camera.h"
#include "tests/effects/feedback.h"
#include "tests/support/gl_context.h"

namespace {
constexpr float BOX = 4.0f;
constexpr int WINDOW = 800;
constexpr float EPS = 1e-3f;

// The quad's corners in drawing order, from its two triangles (Mesa splits it as 0 1 3 and 1 2 3, or
// 0 1 2 and 0 2 3; either way every corner appears).
std::vector<FeedbackVertex> corners(const Sprite& sprite, const Camera& camera, double angle) {
    feedbackBox(BOX, WINDOW);
    const auto triangles = captureFeedback(BOX, WINDOW, [&] { sprite.draw(camera, angle); });
    std::vector<FeedbackVertex> all;
    for (const auto& t : triangles)
        for (const auto& v : t.vertices)
            all.push_back(v);
    return all;
}

bool hasCorner(const std::vector<FeedbackVertex>& vs, float x, float y, float z, float s, float t) {
    for (const auto& v : vs)
        if (std::abs(v.x - x) < EPS && std::abs(v.y - y) < EPS && std::abs(v.z - z) < EPS && v.s == s &&
            v.t == t)
            return true;
    return false;
}

using SpriteGl = GlTest;
} // namespace

TEST_F(SpriteGl, DefaultsGiveTheUnitSquareWithTheWholeTexture) {
    Sprite sprite;
    Camera camera;
    const auto vs = corners(sprite, camera, 0.0);
    EXPECT_EQ(vs.size(), 6u);
    EXPECT_TRUE(hasCorner(vs, -1, -1, 0, 0, 0));
    EXPECT_TRUE(hasCorner(vs, 1, -1, 0, 1, 0));
    EXPECT_TRUE(hasCorner(vs, 1, 1, 0, 1, 1));
    EXPECT_TRUE(hasCorner(vs, -1, 1, 0, 0, 1));
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);

    // Swapped s mirrors the image on the same geometry.
    sprite.texS0 = 1.0f;
    sprite.texS1 = 0.0f;
    const auto mirrored = corners(sprite, camera, 0.0);
    EXPECT_TRUE(hasCorner(mirrored, -1, -1, 0, 1, 0));
    EXPECT_TRUE(hasCorner(mirrored, 1, 1, 0, 0, 1));
}

TEST_F(SpriteGl, TurnsByTheBillboardAnglesAndSpinsAboutItsCentre) {
    Sprite sprite;
    sprite.halfWidth = 2.0f;
    sprite.halfHeight = 0.5f;
    Camera camera;
    camera.billboardAngles = {0.0f, 180.0f, 0.0f}; // the scene's camera: the sprite faces -z
    auto vs = corners(sprite, camera, 0.0);
    EXPECT_TRUE(hasCorner(vs, 2, -0.5f, 0, 0, 0));
    EXPECT_TRUE(hasCorner(vs, -2, -0.5f, 0, 1, 0));

    // The spin comes after the billboard turn, about the sprite's own normal.
    camera.billboardAngles = {0.0f, 0.0f, 0.0f};
    vs = corners(sprite, camera, 90.0);
    EXPECT_TRUE(hasCorner(vs, 0.5f, -2, 0, 0, 0));
    const auto full = corners(sprite, camera, 360.0);
    const auto none = corners(sprite, camera, 0.0);
    ASSERT_EQ(full.size(), none.size());
    for (size_t i = 0; i < full.size(); ++i) {
        EXPECT_NEAR(full[i].x, none[i].x, EPS);
        EXPECT_NEAR(full[i].y, none[i].y, EPS);
    }

    // Pitch: a turn of 90 about x lays the sprite flat, its top edge towards +z.
    camera.billboardAngles = {90.0f, 0.0f, 0.0f};
    vs = corners(sprite, camera, 0.0);
    EXPECT_TRUE(hasCorner(vs, -2, 0, 0.5f, 0, 1));
}
