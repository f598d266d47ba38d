// The billboard sprite through feedback mode: corners, texture corners, billboard turn and spin.
#include "effects/sprite.h"

#include <gtest/gtest.h>

#include <cmath>

#include "display/camera.h"
#include "tests/effects/feedback.h"
#include "tests/support/gl_context.h"

namespace {
// Whether the sprite drawn with this camera and spin has a corner at (x, y, z) with texture (s, t).
bool hasCorner(const Sprite& sprite, const Camera& camera, double angle, float x, float y, float z, float s,
               float t) {
    for (const auto& p : captureFeedback(4.0f, 800, [&] { sprite.draw(camera, angle); }))
        for (const auto& v : p.vertices)
            if (std::abs(v.x - x) < 1e-3f && std::abs(v.y - y) < 1e-3f && std::abs(v.z - z) < 1e-3f &&
                v.s == s && v.t == t)
                return true;
    return false;
}
using SpriteGl = GlTest;
} // namespace

TEST_F(SpriteGl, FacesByTheBillboardAnglesAndSpinsAboutItsCentre) {
    feedbackBox(4.0f, 800);
    Sprite sprite;
    Camera camera;
    EXPECT_TRUE(hasCorner(sprite, camera, 0, -1, -1, 0, 0, 0));
    EXPECT_TRUE(hasCorner(sprite, camera, 0, 1, 1, 0, 1, 1));
    EXPECT_TRUE(hasCorner(sprite, camera, 360, 1, -1, 0, 1, 0));
    sprite.texS0 = 1.0f; // swapped s mirrors the image on the same geometry
    sprite.texS1 = 0.0f;
    EXPECT_TRUE(hasCorner(sprite, camera, 0, -1, -1, 0, 1, 0));

    Sprite wide;
    wide.halfWidth = 2.0f;
    wide.halfHeight = 0.5f;
    EXPECT_TRUE(hasCorner(wide, camera, 90, 0.5f, -2, 0, 0, 0)); // spin about the normal
    camera.billboardAngles = {0.0f, 180.0f, 0.0f};               // the scene's: facing -z
    EXPECT_TRUE(hasCorner(wide, camera, 0, 2, -0.5f, 0, 0, 0));
    camera.billboardAngles = {90.0f, 0.0f, 0.0f}; // laid flat, top edge towards +z
    EXPECT_TRUE(hasCorner(wide, camera, 0, -2, 0, 0.5f, 0, 1));
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
}
