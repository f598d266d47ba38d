// The camera's projection and eye placement, seen through the matrices GL ends up with.
#include "display/camera.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "display/display.h"
#include "tests/support/gl_context.h"

namespace {
const float TOL = 1e-5f;

struct Perspective {
    double fov, aspect, zNear, zFar;
};

// Recovers the gluPerspective arguments from the projection matrix it built.
Perspective perspectiveOf(const std::vector<float>& p) {
    const double m0 = p[0], m5 = p[5], m10 = p[10], m14 = p[14];
    return {2.0 * std::atan(1.0 / m5) * 180.0 / M_PI, m5 / m0, m14 / (m10 - 1.0), m14 / (m10 + 1.0)};
}

void expectAxes(const Camera& c, float rx, float ry, float rz, float ux, float uy, float uz) {
    EXPECT_NEAR(c.right.x, rx, TOL);
    EXPECT_NEAR(c.right.y, ry, TOL);
    EXPECT_NEAR(c.right.z, rz, TOL);
    EXPECT_NEAR(c.up.x, ux, TOL);
    EXPECT_NEAR(c.up.y, uy, TOL);
    EXPECT_NEAR(c.up.z, uz, TOL);
}

bool isIdentity(const std::vector<float>& m) {
    for (int i = 0; i < 16; ++i)
        if (m[i] != (i % 5 == 0 ? 1.0f : 0.0f)) return false;
    return true;
}

class CameraGl : public GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        display = std::make_unique<Display>();
        display->setSize(640, 480);
        display->letterbox = 0.2f;
        display->viewCount = 2;
        display->views[1].letterboxed = 1;
        display->layoutViews();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    std::unique_ptr<Display> display;
};
} // namespace

TEST_F(CameraGl, DefaultsAndProjectionOfTheCurrentView) {
    Camera c;
    EXPECT_EQ(c.fov, 90.0);
    EXPECT_EQ(c.zNear, 0.1f);
    EXPECT_EQ(c.zFar, 100.0f);
    EXPECT_EQ(c.eyeDistance, 1.0f);
    EXPECT_EQ(c.billboardAngles.y, 0.0f);

    display->currentView = 0; // 640 x 480
    glMatrixMode(GL_PROJECTION);
    glTranslatef(1, 2, 3);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(1, 2, 3);
    c.applyProjection(*display);
    Perspective p = perspectiveOf(readMatrix(GL_PROJECTION_MATRIX));
    EXPECT_NEAR(p.fov, 90.0, 1e-4);
    EXPECT_NEAR(p.aspect, 1.3333334, 1e-6);
    EXPECT_NEAR(p.zNear, 0.1, 1e-5);
    EXPECT_NEAR(p.zFar, 100.0, 1e-2);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_TRUE(isIdentity(readMatrix(GL_MODELVIEW_MATRIX)));

    // The letterboxed view with the scene's camera values: 640 x 288.
    display->useViewport(1);
    c.fov = 70.0;
    c.zNear = 0.01f;
    c.zFar = 5.0f;
    c.applyProjection(*display);
    p = perspectiveOf(readMatrix(GL_PROJECTION_MATRIX));
    EXPECT_NEAR(p.fov, 70.0, 1e-4);
    EXPECT_NEAR(p.aspect, 640.0 / 288.0, 1e-6);
    EXPECT_NEAR(p.zNear, 0.01, 1e-5);
    EXPECT_NEAR(p.zFar, 5.0, 1e-3);
}

TEST_F(CameraGl, FlatOrUnknownViewKeepsTheLastProjection) {
    Camera c;
    display->currentView = 1;
    c.applyProjection(*display);
    const std::vector<float> good = readMatrix(GL_PROJECTION_MATRIX);

    View& v = display->views[1];
    for (float height : {0.0f, -20.0f}) {
        v.setFrame(0, 100, 640, 100 + height);
        v.computePixels();
        glTranslatef(4, 5, 6);
        c.applyProjection(*display);
        EXPECT_EQ(readMatrix(GL_PROJECTION_MATRIX), good) << height;
        EXPECT_TRUE(isIdentity(readMatrix(GL_MODELVIEW_MATRIX)));
    }
    for (int i : {-1, 10}) {
        display->currentView = i;
        c.applyProjection(*display);
        EXPECT_EQ(readMatrix(GL_PROJECTION_MATRIX), good) << i;
    }
    for (float m : readMatrix(GL_PROJECTION_MATRIX))
        EXPECT_TRUE(std::isfinite(m));
}

TEST_F(CameraGl, ZeroPoseSitsOneUnitBehindThePivot) {
    Camera c;
    c.applyView();
    const std::vector<float> m = readMatrix(GL_MODELVIEW_MATRIX);
    const std::vector<float> expected{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -1, 1};
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(m[i], expected[i], TOL) << i;
        EXPECT_EQ(c.matrix[i], m[i]) << i;
    }
    expectAxes(c, 1, 0, 0, 0, 1, 0);
}

TEST_F(CameraGl, AxesFollowThePose) {
    struct Case {
        float rx, ry, rz;
        float right[3], up[3];
    };
    const Case cases[] = {
        {0, 90, 0, {0, 0, -1}, {0, 1, 0}},
        {90, 0, 0, {1, 0, 0}, {0, 0, 1}},
        {0, 0, 90, {0, 1, 0}, {-1, 0, 0}},
        // Pitch is applied before heading: the other order would give right (0, 1, 0).
        {90, 90, 0, {0, 0, -1}, {1, 0, 0}},
    };
    for (const Case& k : cases) {
        Camera c;
        c.transform.rotation.set(k.rx, k.ry, k.rz);
        c.transform.position.set(0.3f, -0.2f, 0.7f); // translation leaves the axes alone
        glLoadIdentity();
        c.applyView();
        SCOPED_TRACE(testing::Message() << k.rx << " " << k.ry << " " << k.rz);
        expectAxes(c, k.right[0], k.right[1], k.right[2], k.up[0], k.up[1], k.up[2]);
    }
}

TEST_F(CameraGl, EyeAtThePivotWithZKeepingItsSign) {
    Camera c;
    c.eyeDistance = 0.0f;
    c.transform.position.set(0, 0, 5);
    c.applyView();
    const std::vector<float> m = readMatrix(GL_MODELVIEW_MATRIX);
    EXPECT_NEAR(m[12], 0.0f, TOL);
    EXPECT_NEAR(m[13], 0.0f, TOL);
    EXPECT_NEAR(m[14], 5.0f, TOL); // the eye sits at the scene point (0, 0, -5)

    // With a heading, the pivot (p.x, p.y, -p.z) still lands at the eye.
    Camera turned;
    turned.eyeDistance = 0.0f;
    turned.transform.position.set(1, 2, 3);
    turned.transform.rotation.set(20, 130, -10);
    glLoadIdentity();
    turned.applyView();
    const std::vector<float> t = readMatrix(GL_MODELVIEW_MATRIX);
    for (int row = 0; row < 3; ++row) {
        const float e = t[row] * 1 + t[4 + row] * 2 + t[8 + row] * -3 + t[12 + row];
        EXPECT_NEAR(e, 0.0f, 1e-5f) << row;
    }
}

TEST_F(CameraGl, ApplyViewMultipliesWhatIsLoaded) {
    Camera c;
    glTranslatef(0, 0, -2);
    c.applyView();
    EXPECT_NEAR(readMatrix(GL_MODELVIEW_MATRIX)[14], -3.0f, TOL);

    // readAxes on its own reads whatever is current.
    const float raw[16] = {1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0, 0, 0, 0, 1};
    glLoadMatrixf(raw);
    c.readAxes();
    expectAxes(c, 1, 4, 7, 2, 5, 8);
}
