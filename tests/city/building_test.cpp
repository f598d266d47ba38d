// Drawing buildings: shades from the per-storey seed, the generator after the pass, roof-only buildings,
// the storey table's end, back-face culling from outside and inside, and the material's light state.
#include "city/building.h"

#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "city/city.h"
#include "effects/light.h"
#include "tests/effects/feedback.h"
#include "tests/support/gl_context.h"
#include "tests/support/image.h"

namespace {
std::unique_ptr<Building> litBuilding(float columns, float floors) {
    auto b = std::make_unique<Building>();
    b->columnsX = b->columnsZ = columns;
    b->floors = floors;
    for (float& level : b->floorLight)
        level = 1.0f;
    return b;
}

std::vector<FeedbackPrimitive> drawn(const Building& b, float half = 4.0f, int window = 1000) {
    feedbackBox(half, window);
    return captureFeedback(half, window, [&] { b.draw(); });
}
using BuildingGl = GlTest;
} // namespace

TEST_F(BuildingGl, ShadesComeFromTheStoreyAndPositionSeed) {
    auto b = litBuilding(5, 2);
    b->posX = 0.4f;
    b->posZ = -1.2f;
    b->colorR = 0.5f;
    b->floorLight[0] = 0.5f;
    const auto ps = drawn(*b);
    int checked = 0;
    for (int storey = 0; storey < 2; ++storey) {
        seedRandom(static_cast<std::uint32_t>(-80 + storey)); // trunc(i + 40.0000006 - 120.0000048)
        for (int col = 0; col < 5; ++col) {
            const float shade = static_cast<float>(randRange(1.0) * b->floorLight[storey]);
            // The top (t = 1) of each inner front-wall edge; the corner edge is shared with the left wall.
            const float x = 0.4f + col * 0.02f, y = (storey + 1) * 0.01f;
            for (const auto& p : ps)
                for (const auto& v : p.vertices)
                    if (col > 0 && v.t == 1.0f &&
                        std::abs(v.x - x) + std::abs(v.y - y) + std::abs(v.z + 1.2f) < 1e-3f) {
                        EXPECT_FLOAT_EQ(v.r, shade * 0.5f);
                        EXPECT_FLOAT_EQ(v.g, shade);
                        EXPECT_EQ(v.s, static_cast<float>(col));
                        ++checked;
                    }
        }
    }
    EXPECT_GE(checked, 8);
}

TEST_F(BuildingGl, EveryFrameGivesTheSameShadesAndLeavesTheSameGenerator) {
    for (Building& b : buildings)
        b = Building();
    seedRandom(31337);
    generateCity();
    const Building& b = buildings[buildingCount / 2];
    ASSERT_GE(b.floors, 1);
    seedRandom(1);
    const auto first = drawn(b);
    seedRandom(999);
    const auto second = drawn(b);
    ASSERT_EQ(first.size(), second.size());
    for (size_t i = 0; i < first.size(); ++i)
        for (size_t k = 0; k < first[i].vertices.size(); ++k)
            ASSERT_TRUE(first[i].vertices[k].r == second[i].vertices[k].r &&
                        first[i].vertices[k].b == second[i].vertices[k].b);

    std::uint32_t after[2];
    for (std::uint32_t frame = 0; frame < 2; ++frame) {
        seedRandom(frame * 7919u + 5u); // whatever the oscillators left
        for (int i = 0; i < buildingCount; ++i)
            buildings[i].draw();
        after[frame] = randomState();
    }
    EXPECT_EQ(after[0], after[1]);
}

TEST_F(BuildingGl, StoreysRunFromNoneToTheTablesEnd) {
    for (float floors : {0.0f, -3.0f}) {
        auto b = litBuilding(6, floors);
        seedRandom(4242);
        const auto ps = drawn(*b);
        EXPECT_EQ(randomState(), stateAfterDraws(4242, 1)); // the roof's draw only: no re-seed
        ASSERT_EQ(ps.size(), 2u);
        seedRandom(4242);
        const float r = static_cast<float>(0.2 + randRange(0.3));
        for (const auto& v : ps[0].vertices) {
            EXPECT_NEAR(v.y, floors * 0.01f, 1e-3f);
            EXPECT_FLOAT_EQ(v.r, r);
            EXPECT_EQ(v.s, 0.3f);
        }
    }
    // Four one-cell walls for each of the 999 storeys the table holds, then the roof at the full height.
    const auto ps = drawn(*litBuilding(1, 5000), 64.0f, 4000);
    ASSERT_EQ(ps.size(), 999u * 4u * 2u + 2u);
    EXPECT_NEAR(ps[ps.size() - 3].vertices[0].y, 9.99f, 0.05f);
    EXPECT_NEAR(ps.back().vertices[0].y, 50.0f, 0.05f);
}

TEST_F(BuildingGl, CullingShowsTheOutsideAndHidesTheInside) {
    auto b = litBuilding(9, 20); // 0.18 wide and deep, 0.2 tall
    const float c[3] = {0.09f, 0.1f, -0.09f};
    const auto covered = [&](const float eye[3], const float at[3], const float up[3]) {
        glClearColor(0, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(90, 1, 0.01, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(eye[0], eye[1], eye[2], at[0], at[1], at[2], up[0], up[1], up[2]);
        b->draw();
        const Image image = readPixels(width, height);
        int n = 0;
        for (size_t i = 0; i < image.rgba.size(); i += 4)
            n += !(image.rgba[i] == 0 && image.rgba[i + 1] == 0 && image.rgba[i + 2] == 255);
        return n;
    };
    const float y[3] = {0, 1, 0}, minusZ[3] = {0, 0, -1};
    glEnable(GL_CULL_FACE);
    // 0.3 in front of each face and above the roof: the building fills about 400 of the 4096 pixels.
    const float outside[5][3] = {{c[0], c[1], 0.3f},
                                 {0.48f, c[1], c[2]},
                                 {c[0], c[1], -0.48f},
                                 {-0.3f, c[1], c[2]},
                                 {c[0], 0.5f, c[2]}};
    for (const auto& eye : outside)
        EXPECT_GT(covered(eye, c, eye[1] == 0.5f ? minusZ : y), 200);
    // From the middle, looking every way, nothing; without culling the inner sides show.
    const float ways[6][3] = {{1, 0, 0}, {-1, 0, 0}, {0, 0, 1}, {0, 0, -1}, {0, 1, 0}, {0, -1, 0}};
    for (const auto& w : ways) {
        const float at[3] = {c[0] + w[0], c[1] + w[1], c[2] + w[2]};
        EXPECT_EQ(covered(c, at, w[1] != 0 ? minusZ : y), 0);
    }
    glDisable(GL_CULL_FACE);
    const float right[3] = {1, c[1], c[2]};
    EXPECT_GT(covered(c, right, y), 200);
}

TEST_F(BuildingGl, MaterialScalesTheLightsBaseColour) {
    Light light;
    light.index = 2;
    light.colorRed = 1.0f;
    light.colorGreen = 0.5f;
    light.colorBlue = 0.25f;
    Material m;
    m.setScales(0.4f, 0.6f, 0.8f, 0.99f);
    m.weightRed = 0.5f; // with the weights every base component is 0.5
    m.weightBlue = 2.0f;
    m.shininess = 33;
    m.apply(light);
    const auto expectScaled = [](GLenum light, GLenum what, float scale) {
        float v[4];
        if (light == 0)
            glGetFloatv(what, v);
        else if (light == 1)
            glGetMaterialfv(GL_BACK, what, v);
        else
            glGetLightfv(light, what, v);
        for (int c = 0; c < 3; ++c)
            EXPECT_FLOAT_EQ(v[c], scale * 0.5f) << what << " " << c;
        EXPECT_EQ(v[3], 1.0f);
    };
    expectScaled(0, GL_LIGHT_MODEL_AMBIENT, 0.4f);
    expectScaled(1, GL_SPECULAR, 0.99f);
    expectScaled(GL_LIGHT2, GL_AMBIENT, 0.4f);
    expectScaled(GL_LIGHT2, GL_DIFFUSE, 0.6f);
    expectScaled(GL_LIGHT2, GL_SPECULAR, 0.8f);
    float v = 0;
    glGetLightfv(GL_LIGHT2, GL_SPOT_CUTOFF, &v);
    EXPECT_EQ(v, 180.0f);
    glGetMaterialfv(GL_FRONT, GL_SHININESS, &v);
    EXPECT_EQ(v, 33.0f);

    light.index = 8; // past the eight lights: no call at all
    m.setScales(0.1f, 0.1f, 0.1f, 0.1f);
    m.apply(light);
    expectScaled(0, GL_LIGHT_MODEL_AMBIENT, 0.4f);
}
