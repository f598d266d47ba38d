// The primitives' geometry, read back through OpenGL's feedback mode: what the rasteriser would receive.
#include "textures/primitives.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/support/gl_context.h"

namespace {

struct FeedbackVertex {
    float x, y, z;    // object coordinates, recovered from the window coordinates
    float r, g, b, a; // lit or current colour
    float s, t;
};

using Triangle = std::vector<FeedbackVertex>;

// Maps object space [-2, 2] on all three axes onto a 400 x 400 window, so feedback coordinates can be turned
// back into object coordinates exactly enough.
constexpr float HALF_EXTENT = 2.0f;
constexpr int WINDOW = 400;

class PrimitivesTest : public GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        glViewport(0, 0, WINDOW, WINDOW);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-HALF_EXTENT, HALF_EXTENT, -HALF_EXTENT, HALF_EXTENT, -HALF_EXTENT, HALF_EXTENT);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }

    // Runs draw in feedback mode and returns its polygons (Mesa hands every polygon over as triangles).
    // Sets *other when the feedback held anything but polygons.
    template <typename Draw> std::vector<Triangle> capture(Draw draw, bool* other = nullptr) {
        std::vector<float> buffer(800000);
        glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
        glRenderMode(GL_FEEDBACK);
        draw();
        const int used = glRenderMode(GL_RENDER);
        std::vector<Triangle> triangles;
        const float scale = 2.0f * HALF_EXTENT / WINDOW;
        for (int i = 0; i < used;) {
            const float token = buffer[static_cast<size_t>(i++)];
            if (token != GL_POLYGON_TOKEN) {
                if (other != nullptr) *other = true;
                break;
            }
            const int count = static_cast<int>(buffer[static_cast<size_t>(i++)]);
            Triangle polygon;
            for (int k = 0; k < count; ++k, i += 11) {
                const float* v = &buffer[static_cast<size_t>(i)];
                // glOrtho flips z, and window depth runs from 0 to 1.
                polygon.push_back({v[0] * scale - HALF_EXTENT, v[1] * scale - HALF_EXTENT,
                                   HALF_EXTENT * (1.0f - 2.0f * v[2]), v[3], v[4], v[5], v[6], v[7], v[8]});
            }
            triangles.push_back(polygon);
        }
        return triangles;
    }
};

constexpr float EPS = 1e-4f;

// A strip of n vertices reaches feedback as n - 2 triangles whose third vertex is always the new one.
std::vector<FeedbackVertex> stripVertices(const std::vector<Triangle>& triangles, size_t first,
                                          size_t count) {
    std::vector<FeedbackVertex> vertices(triangles[first].begin(), triangles[first].end());
    for (size_t j = first + 1; j < first + count; ++j)
        vertices.push_back(triangles[j][2]);
    return vertices;
}

float signedArea(const Triangle& t) {
    return (t[1].x - t[0].x) * (t[2].y - t[0].y) - (t[2].x - t[0].x) * (t[1].y - t[0].y);
}

struct Corner {
    float x, y, s, t;
};

// Each expected corner appears in the quad's feedback with its texture coordinate, at z 0, and the quad
// comes out as two counter-clockwise triangles.
void expectQuad(const std::vector<Triangle>& triangles, const Corner (&corners)[4]) {
    ASSERT_EQ(triangles.size(), 2u);
    for (const Corner& c : corners) {
        bool found = false;
        for (const Triangle& tri : triangles) {
            for (const FeedbackVertex& v : tri) {
                if (std::fabs(v.x - c.x) < EPS && std::fabs(v.y - c.y) < EPS) {
                    found = true;
                    EXPECT_NEAR(v.s, c.s, 1e-6) << "corner " << c.x << "," << c.y;
                    EXPECT_NEAR(v.t, c.t, 1e-6) << "corner " << c.x << "," << c.y;
                    EXPECT_NEAR(v.z, 0.0f, EPS);
                }
            }
        }
        EXPECT_TRUE(found) << "no vertex at " << c.x << "," << c.y;
    }
    for (const Triangle& tri : triangles)
        EXPECT_GT(signedArea(tri), 0.0f);
}

TEST_F(PrimitivesTest, QuadsPutTheirTextureCoordinatesOnTheRightCorners) {
    // A pixel-sized full-view rectangle, scaled so that 640 x 480 fills the [-2, 2] square.
    glTranslatef(-HALF_EXTENT, -HALF_EXTENT, 0.0f);
    glScalef(4.0f / 640.0f, 4.0f / 480.0f, 1.0f);
    bool other = false;
    std::vector<Triangle> quad = capture([] { drawQuad(0, 0, 640, 480); }, &other);
    EXPECT_FALSE(other);
    ASSERT_EQ(quad.size(), 2u);
    const Corner full[4] = {{0, 0, 0, 0}, {640, 0, 1, 0}, {640, 480, 1, 1}, {0, 480, 0, 1}};
    for (const Corner& c : full) {
        bool found = false;
        for (const Triangle& tri : quad)
            for (const FeedbackVertex& v : tri)
                if (std::fabs(v.x * 160.0f + 320.0f - c.x) < 0.01f &&
                    std::fabs(v.y * 120.0f + 240.0f - c.y) < 0.01f) {
                    found = true;
                    EXPECT_EQ(v.s, c.s);
                    EXPECT_EQ(v.t, c.t);
                }
        EXPECT_TRUE(found) << c.x << "," << c.y;
    }
    glLoadIdentity();

    const Corner tiled[4] = {{-1, -1, 0, 0}, {1, -1, 3, 0}, {1, 0.5f, 3, 4}, {-1, 0.5f, 0, 4}};
    expectQuad(capture([] { drawTiledQuad(-1, -1, 2, 1.5f, 3, 4); }), tiled);

    const Corner scrolled[4] = {
        {-1, -1, 0.25f, 0.5f}, {1, -1, 2.25f, 0.5f}, {1, 1, 2.25f, 2.5f}, {-1, 1, 0.25f, 2.5f}};
    expectQuad(capture([] { drawScrolledQuad(-1, -1, 2, 2, 2, 2, 0.25f, 0.5f); }), scrolled);
}

TEST_F(PrimitivesTest, SphereRefusesSliceAndStackCountsOutsideThreeToHundred) {
    for (const int slices : {2, 101, 0, -3})
        EXPECT_TRUE(capture([&] { drawSphere(1, slices, 10, 1, 1, 0, 0); }).empty());
    for (const int stacks : {2, 101})
        EXPECT_TRUE(capture([&] { drawSphere(1, 10, stacks, 1, 1, 0, 0); }).empty());
    // Both limits themselves are accepted: 99 strips of 2 x 101 vertices.
    EXPECT_EQ(capture([] { drawSphere(1, 100, 100, 1, 1, 0, 0); }).size(), 99u * 200u);
    EXPECT_EQ(capture([] { drawSphere(1, 3, 3, 1, 1, 0, 0); }).size(), 12u);
}

TEST_F(PrimitivesTest, ThreeByThreeSphereIsTwoStripsOfEightFromTheBottomPoleUp) {
    const std::vector<Triangle> triangles = capture([] { drawSphere(1, 3, 3, 1, 1, 0, 0); });
    // Two strips of 8 vertices give 2 x 6 triangles; one strip of 16 would give 14.
    ASSERT_EQ(triangles.size(), 12u);
    for (int band = 0; band < 2; ++band) {
        const std::vector<FeedbackVertex> strip = stripVertices(triangles, static_cast<size_t>(band) * 6, 6);
        ASSERT_EQ(strip.size(), 8u);
        const float lowerY = band == 0 ? -1.0f : 0.0f;
        const float upperY = band == 0 ? 0.0f : 1.0f;
        for (size_t k = 0; k < 8; ++k) {
            const FeedbackVertex& v = strip[k];
            const bool upper = k % 2 == 0; // upper vertex first in every column
            EXPECT_NEAR(v.y, upper ? upperY : lowerY, EPS) << "band " << band << " vertex " << k;
            EXPECT_NEAR(v.t, upper ? (band + 1) / 3.0f : band / 3.0f, 1e-6);
            EXPECT_NEAR(v.s, static_cast<float>(k / 2) / 3.0f, 1e-6);
        }
        // The closing column sits exactly where the first one does.
        EXPECT_EQ(strip[6].x, strip[0].x);
        EXPECT_EQ(strip[6].z, strip[0].z);
        EXPECT_EQ(strip[7].x, strip[1].x);
    }
}

TEST_F(PrimitivesTest, TenByTenSphereStartsOnPlusZAboveTheBottomPoleAndClosesItsSeam) {
    const std::vector<Triangle> triangles = capture([] { drawSphere(1.5, 10, 10, 1, 1, 0, 0); });
    ASSERT_EQ(triangles.size(), 9u * 20u);
    const double phi = 3.1415927 / 9.0;
    const FeedbackVertex& first = triangles[0][0];
    EXPECT_NEAR(first.x, 0.0, EPS);
    EXPECT_NEAR(first.y, -1.5 * std::cos(phi), EPS);
    EXPECT_NEAR(first.z, 1.5 * std::sin(phi), EPS);
    EXPECT_FLOAT_EQ(first.s, 0.0f);
    EXPECT_FLOAT_EQ(first.t, 0.1f);
    // theta grows toward +x: the second column's upper point has positive x.
    const std::vector<FeedbackVertex> strip0 = stripVertices(triangles, 0, 20);
    EXPECT_GT(strip0[2].x, 0.1f);
    EXPECT_NEAR(strip0[1].y, -1.5f, EPS); // the bottom pole
    for (int band = 0; band < 9; ++band) {
        const std::vector<FeedbackVertex> strip =
            stripVertices(triangles, static_cast<size_t>(band) * 20, 20);
        ASSERT_EQ(strip.size(), 22u);
        for (int k : {0, 1}) {
            EXPECT_EQ(strip[20 + k].x, strip[k].x);
            EXPECT_EQ(strip[20 + k].y, strip[k].y);
            EXPECT_EQ(strip[20 + k].z, strip[k].z);
            EXPECT_FLOAT_EQ(strip[20 + k].s, 1.0f);
        }
        // v runs as i / stacks: the last band's top edge is at 0.9, not 1.
        EXPECT_NEAR(strip[0].t, (band + 1) / 10.0f, 1e-6);
        EXPECT_NEAR(strip[1].t, band / 10.0f, 1e-6);
    }
    const std::vector<FeedbackVertex> top = stripVertices(triangles, 8 * 20, 20);
    EXPECT_NEAR(top[0].y, 1.5f, EPS);
}

TEST_F(PrimitivesTest, SphereScalesAndShiftsTextureCoordinates) {
    const std::vector<Triangle> triangles = capture([] { drawSphere(1, 4, 5, 2, 3, 0.5, -1); });
    const std::vector<FeedbackVertex> strip = stripVertices(triangles, 0, 8);
    EXPECT_FLOAT_EQ(strip[0].s, 0.5f);
    EXPECT_FLOAT_EQ(strip[0].t, 0.2f * 3 - 1);
    EXPECT_FLOAT_EQ(strip[1].t, -1.0f);
    EXPECT_FLOAT_EQ(strip[8].s, 2.5f); // last column: uScale + uOffset
}

TEST_F(PrimitivesTest, SphereNormalsAreTheUnitPoints) {
    // A white light straight down -z onto a white, purely diffuse material lights each vertex by the z of
    // its normal, whatever the radius.
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const float none[4] = {0, 0, 0, 1};
    const float white[4] = {1, 1, 1, 1};
    const float towardViewer[4] = {0, 0, 1, 0};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, none);
    glLightfv(GL_LIGHT0, GL_POSITION, towardViewer);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, none);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, white);
    const std::vector<Triangle> triangles = capture([] { drawSphere(0.5, 8, 6, 1, 1, 0, 0); });
    ASSERT_FALSE(triangles.empty());
    for (const Triangle& tri : triangles)
        for (const FeedbackVertex& v : tri)
            EXPECT_NEAR(v.r, std::fmax(0.0f, v.z / 0.5f), 2e-3);
}

} // namespace
