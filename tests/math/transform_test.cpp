#include "math/transform.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "math/random.h"
#include "tests/support/gl_context.h"

TEST(Transform, StartsAtRestWithItsDefaults) {
    Transform t;
    EXPECT_EQ(t.mode, 0);
    EXPECT_EQ(t.pathAmplitude.y, 10.0f);
    EXPECT_EQ(t.turnAmplitude.y, 720.0f);
    EXPECT_EQ(t.shakeFreq.z, 60.0f);
    t.position.set(1, 2, 3);
    t.animate(5, 5); // mode 0: nothing moves
    EXPECT_EQ(t.position.x, 1.0f);
    t.pathPace = 3;
    t.reset();
    EXPECT_EQ(t.position.x, 0.0f);
    EXPECT_EQ(t.pathPace, 3.0f); // reset keeps the motion parameters
}

TEST(Transform, IntegrateTurnAndShake) {
    Transform t;
    t.velocity.set(2, 0, 0);
    t.acceleration.set(0, 4, 0);
    t.integrate(0.5f);
    EXPECT_EQ(t.velocity.x, 2.0f);
    EXPECT_EQ(t.velocity.y, 2.0f);
    EXPECT_EQ(t.position.x, 1.0f);
    EXPECT_EQ(t.position.y, 1.0f);
    EXPECT_EQ(t.acceleration.y, 0.0f);

    t.wrapAngles = 1;
    t.rotation.set(360, -350, 400);
    t.spin.set(10, -10, 10);
    t.turn(1.0f);
    EXPECT_FLOAT_EQ(t.rotation.x, 10.0f);
    EXPECT_FLOAT_EQ(t.rotation.y, 360.0f); // -360 wraps to 360
    EXPECT_FLOAT_EQ(t.rotation.z, 410.0f); // roll is never wrapped

    t.shakeAmount = 0.0105f;
    seedRandom(1);
    t.shake(0.02f);
    EXPECT_EQ(t.shakeAmount, 0.0f);
    EXPECT_EQ(t.shakeFreq.x, static_cast<float>(41.0 / 32768.0 * 50.0 + 25.0));
    EXPECT_GE(t.shakeFreq.z, 25.0f);
    EXPECT_LT(t.shakeFreq.z, 75.0f);

    t.shakeAmount = 1.0f;
    t.shakeFreq = {40, 50, 60};
    t.shake(0.01f);
    EXPECT_FLOAT_EQ(t.shakeAmount, 0.97f);
    EXPECT_FLOAT_EQ(t.shakeOffset.x, static_cast<float>(std::sin(0.4) * 0.97));
}

TEST(Transform, AnimatesItsTwoPaths) {
    Transform t;
    t.mode = 1;
    t.animate(0, 0);
    EXPECT_FLOAT_EQ(t.position.x, 0.0f);
    EXPECT_FLOAT_EQ(t.position.y, 10.0f);
    EXPECT_FLOAT_EQ(t.position.z, 10.0f);
    EXPECT_FLOAT_EQ(t.rotation.x, -45.000015f);
    EXPECT_FLOAT_EQ(t.rotation.y, 0.0f);

    t.mode = 2;
    t.rotation.z = 7;
    t.animate(100, 0);
    EXPECT_FLOAT_EQ(t.position.x, 0.0f);
    EXPECT_FLOAT_EQ(t.position.y, 10.0f);
    EXPECT_FLOAT_EQ(t.rotation.x, static_cast<float>(std::sin(1.0) * 20.0));
    EXPECT_FLOAT_EQ(t.rotation.y, static_cast<float>(std::sin(1.0) * 720.0));
    EXPECT_EQ(t.rotation.z, 7.0f);
}

class TransformMatrix : public GlTest {};

TEST_F(TransformMatrix, AppliesTranslationThenHeadingPitchRoll) {
    Transform t;
    t.position.set(1, 2, 3);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    t.applyToMatrix();
    std::vector<float> m = readMatrix(GL_MODELVIEW_MATRIX);
    const float translated[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(m[i], translated[i]) << i;

    t.rotation.set(30, 45, 60);
    glLoadIdentity();
    t.applyToMatrix();
    m = readMatrix(GL_MODELVIEW_MATRIX);
    glLoadIdentity();
    glTranslatef(1, 2, 3);
    glRotatef(45, 0, 1, 0);
    glRotatef(30, 1, 0, 0);
    glRotatef(60, 0, 0, 1);
    const std::vector<float> expected = readMatrix(GL_MODELVIEW_MATRIX);
    for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(m[i], expected[i]) << i;
    // Heading first: the body's forward axis (-z) turns about y before pitching.
    EXPECT_NEAR(m[8], std::sin(45 * M_PI / 180) * std::cos(30 * M_PI / 180), 1e-6);
}
