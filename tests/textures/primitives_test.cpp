// The primitives' geometry, read back through OpenGL's feedback mode: what the rasteriser would receive.
#include "textures/primitives.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/support/gl_context.h"

namespace {

struct Vertex {
    float x, y, z, r, s, t; // object coordinates recovered from window coordinates; red; texture s, t
};
using Triangle = std::vector<Vertex>;

// Object space [-2, 2] on every axis fills a 400 x 400 window, exactly enough to map feedback back.
class PrimitivesTest : public GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        glViewport(0, 0, 400, 400);
        glMatrixMode(GL_PROJECTION);
        glOrtho(-2, 2, -2, 2, -2, 2);
        glMatrixMode(GL_MODELVIEW);
    }

    // Mesa hands every polygon to feedback as triangles; a strip's triangle j holds vertex j + 2 last.
    template <typename Draw> std::vector<Triangle> capture(Draw draw) {
        std::vector<float> buffer(800000);
        glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
        glRenderMode(GL_FEEDBACK);
        draw();
        const int used = glRenderMode(GL_RENDER);
        std::vector<Triangle> triangles;
        for (int i = 0; i < used && buffer[static_cast<size_t>(i)] == GL_POLYGON_TOKEN;) {
            const int count = static_cast<int>(buffer[static_cast<size_t>(i) + 1]);
            Triangle polygon;
            for (i += 2; count > static_cast<int>(polygon.size()); i += 11) {
                const float* v = &buffer[static_cast<size_t>(i)];
                polygon.push_back({v[0] / 100 - 2, v[1] / 100 - 2, 2 - 4 * v[2], v[3], v[7], v[8]});
            }
            triangles.push_back(polygon);
        }
        EXPECT_GE(used, 0) << "feedback buffer overflow";
        return triangles;
    }
};

constexpr float EPS = 1e-4f;

std::vector<Vertex> strip(const std::vector<Triangle>& triangles, size_t first, size_t count) {
    std::vector<Vertex> vertices(triangles[first]);
    for (size_t j = first + 1; j < first + count; ++j)
        vertices.push_back(triangles[j][2]);
    return vertices;
}

// The quad's two triangles cover exactly these four corners, each with its texture coordinate, at z 0,
// both wound counter-clockwise.
void expectQuad(const std::vector<Triangle>& triangles, const float (&corners)[4][4]) {
    ASSERT_EQ(triangles.size(), 2u);
    for (const auto& c : corners) {
        int found = 0;
        for (const Triangle& tri : triangles)
            for (const Vertex& v : tri)
                if (std::fabs(v.x - c[0]) < EPS && std::fabs(v.y - c[1]) < EPS) {
                    ++found;
                    EXPECT_EQ(v.s, c[2]) << c[0] << "," << c[1];
                    EXPECT_EQ(v.t, c[3]) << c[0] << "," << c[1];
                    EXPECT_NEAR(v.z, 0.0f, EPS);
                }
        EXPECT_GT(found, 0) << "no vertex at " << c[0] << "," << c[1];
    }
    for (const Triangle& t : triangles)
        EXPECT_GT((t[1].x - t[0].x) * (t[2].y - t[0].y) - (t[2].x - t[0].x) * (t[1].y - t[0].y), 0.0f);
}

TEST_F(PrimitivesTest, QuadsPutTheirTextureCoordinatesOnTheRightCorners) {
    // The full-view rectangle of a 640 x 480 display, scaled into the [-2, 2] square: 160 and 120 per unit.
    glTranslatef(-2, -2, 0);
    glScalef(1 / 160.0f, 1 / 120.0f, 1);
    const float full[4][4] = {{-2, -2, 0, 0}, {2, -2, 1, 0}, {2, 2, 1, 1}, {-2, 2, 0, 1}};
    expectQuad(capture([] { drawQuad(0, 0, 640, 480); }), full);
    glLoadIdentity();
    const float tiled[4][4] = {{-1, -1, 0, 0}, {1, -1, 3, 0}, {1, 0.5f, 3, 4}, {-1, 0.5f, 0, 4}};
    expectQuad(capture([] { drawTiledQuad(-1, -1, 2, 1.5f, 3, 4); }), tiled);
    const float scrolled[4][4] = {
        {-1, -1, 0.25f, 0.5f}, {1, -1, 2.25f, 0.5f}, {1, 1, 2.25f, 2.5f}, {-1, 1, 0.25f, 2.5f}};
    expectQuad(capture([] { drawScrolledQuad(-1, -1, 2, 2, 2, 2, 0.25f, 0.5f); }), scrolled);
}

TEST_F(PrimitivesTest, SphereRefusesSliceAndStackCountsOutsideThreeToHundred) {
    for (const int n : {2, 101, 0, -3}) {
        EXPECT_TRUE(capture([&] { drawSphere(1, n, 10, 1, 1, 0, 0); }).empty()) << n;
        EXPECT_TRUE(capture([&] { drawSphere(1, 10, n, 1, 1, 0, 0); }).empty()) << n;
    }
    // The limits themselves are drawn: 99 strips of 2 x 101 vertices, 200 triangles each.
    EXPECT_EQ(capture([] { drawSphere(1, 100, 100, 1, 1, 0, 0); }).size(), 99u * 200u);
}

TEST_F(PrimitivesTest, ThreeByThreeSphereIsTwoStripsOfEightFromTheBottomPoleUp) {
    const std::vector<Triangle> triangles = capture([] { drawSphere(1, 3, 3, 1, 1, 0, 0); });
    // Two strips of 8 vertices give 2 x 6 triangles; one strip of 16 would give 14.
    ASSERT_EQ(triangles.size(), 12u);
    for (int band = 0; band < 2; ++band) {
        const std::vector<Vertex> v = strip(triangles, static_cast<size_t>(band) * 6, 6);
        ASSERT_EQ(v.size(), 8u);
        for (size_t k = 0; k < 8; ++k) {
            const bool upper = k % 2 == 0; // upper vertex first in every column
            EXPECT_NEAR(v[k].y, upper ? band : band - 1, EPS) << "band " << band << " vertex " << k;
            EXPECT_FLOAT_EQ(v[k].t, upper ? (band + 1) / 3.0f : band / 3.0f);
            EXPECT_FLOAT_EQ(v[k].s, static_cast<float>(k / 2) / 3.0f);
        }
        EXPECT_EQ(v[6].x, v[0].x); // the closing column sits on the first
        EXPECT_EQ(v[6].z, v[0].z);
    }
}

TEST_F(PrimitivesTest, TenByTenSphereStartsOnPlusZAboveTheBottomPoleAndClosesItsSeam) {
    const std::vector<Triangle> triangles = capture([] { drawSphere(1.5, 10, 10, 1, 1, 0, 0); });
    ASSERT_EQ(triangles.size(), 9u * 20u);
    const Vertex& first = triangles[0][0];
    EXPECT_NEAR(first.x, 0.0, EPS);
    EXPECT_NEAR(first.y, -1.5 * std::cos(3.1415927 / 9), EPS);
    EXPECT_NEAR(first.z, 1.5 * std::sin(3.1415927 / 9), EPS);
    EXPECT_EQ(first.s, 0.0f);
    EXPECT_FLOAT_EQ(first.t, 0.1f);
    for (int band = 0; band < 9; ++band) {
        const std::vector<Vertex> v = strip(triangles, static_cast<size_t>(band) * 20, 20);
        if (band == 0) {
            EXPECT_NEAR(v[1].y, -1.5f, EPS); // the bottom pole
            EXPECT_GT(v[2].x, 0.1f);         // theta grows toward +x
        }
        for (int k : {0, 1}) {
            EXPECT_EQ(v[20 + k].x, v[k].x);
            EXPECT_EQ(v[20 + k].y, v[k].y);
            EXPECT_EQ(v[20 + k].z, v[k].z);
            EXPECT_FLOAT_EQ(v[20 + k].s, 1.0f);
        }
        // v runs as i / stacks: the top band's upper edge is at 0.9, and the top pole at y = 1.5.
        EXPECT_FLOAT_EQ(v[0].t, (band + 1) / 10.0f);
        EXPECT_FLOAT_EQ(v[1].t, band / 10.0f);
        if (band == 8) {
            EXPECT_NEAR(v[0].y, 1.5f, EPS);
        }
    }
    // Scale and offset apply to both coordinates: u from 0.5 to 2.5, v from -1 on.
    const std::vector<Vertex> shifted = strip(capture([] { drawSphere(1, 4, 5, 2, 3, 0.5, -1); }), 0, 8);
    EXPECT_FLOAT_EQ(shifted[0].s, 0.5f);
    EXPECT_FLOAT_EQ(shifted[0].t, 0.2f * 3 - 1);
    EXPECT_FLOAT_EQ(shifted[1].t, -1.0f);
    EXPECT_FLOAT_EQ(shifted[8].s, 2.5f);
}

TEST_F(PrimitivesTest, SphereNormalsAreTheUnitPoints) {
    // A white light along +z on a white, purely diffuse material lights each vertex by its normal's z.
    const float none[4] = {0, 0, 0, 1}, white[4] = {1, 1, 1, 1};
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0); // white, from +z, by default
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, none);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, none);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, white);
    const std::vector<Triangle> triangles = capture([] { drawSphere(0.5, 8, 6, 1, 1, 0, 0); });
    ASSERT_EQ(triangles.size(), 5u * 16u);
    for (const Triangle& tri : triangles)
        for (const Vertex& v : tri)
            EXPECT_NEAR(v.r, std::fmax(0.0f, v.z / 0.5f), 2e-3);
}

} // namespace
