// Drawing buildings: the per-storey shades and re-seeding, the geometry and storey cap through feedback
// mode, back-face culling from outside and inside, the material's light state, and a rendered street.
#include "city/building.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "city/city.h"
#include "effects/light.h"
#include "math/random.h"
#include "scene/scene_globals.h"
#include "shell/render_state.h"
#include "tests/effects/feedback.h"
#include "tests/support/gl_context.h"
#include "tests/support/image.h"

namespace {
constexpr float BOX = 4.0f;
constexpr int WINDOW = 1000;
constexpr float EPS = 2e-3f;

std::unique_ptr<Building> plainBuilding(float columnsX, float columnsZ, float floors) {
    auto b = std::make_unique<Building>();
    b->columnsX = columnsX;
    b->columnsZ = columnsZ;
    b->floors = floors;
    for (float& level : b->floorLight)
        level = 1.0f;
    return b;
}

std::vector<FeedbackPrimitive> captureDraw(const Building& b, float box = BOX, int window = WINDOW) {
    feedbackBox(box, window);
    return captureFeedback(box, window, [&] { b.draw(); });
}

const FeedbackVertex* findVertex(const std::vector<FeedbackPrimitive>& ps, float x, float y, float z) {
    for (const auto& p : ps)
        for (const auto& v : p.vertices)
            if (std::abs(v.x - x) < EPS && std::abs(v.y - y) < EPS && std::abs(v.z - z) < EPS) return &v;
    return nullptr;
}

using BuildingGl = GlTest;
} // namespace

TEST_F(BuildingGl, WallsAndRoofCoverTheFootprintStoreyByStorey) {
    auto b = plainBuilding(5, 7, 2);
    b->posX = 0.2f;
    b->posZ = -0.4f;
    const auto ps = captureDraw(*b);
    // Per storey four strips of 5, 7, 5 and 7 cells, each cell two triangles; then the roof.
    ASSERT_EQ(ps.size(), 2u * 2u * 24u + 2u);
    float minX = 9, maxX = -9, minZ = 9, maxZ = -9, maxWallY = -9;
    for (size_t i = 0; i + 2 < ps.size(); ++i)
        for (const auto& v : ps[i].vertices) {
            minX = std::fmin(minX, v.x), maxX = std::fmax(maxX, v.x);
            minZ = std::fmin(minZ, v.z), maxZ = std::fmax(maxZ, v.z);
            maxWallY = std::fmax(maxWallY, v.y);
            ASSERT_GE(v.y, -EPS);
        }
    EXPECT_NEAR(minX, 0.2f, EPS);
    EXPECT_NEAR(maxX, 0.3f, EPS);
    EXPECT_NEAR(maxZ, -0.4f, EPS);
    EXPECT_NEAR(minZ, -0.54f, EPS);
    EXPECT_NEAR(maxWallY, 0.02f, EPS);
    for (size_t i = ps.size() - 2; i < ps.size(); ++i)
        for (const auto& v : ps[i].vertices) {
            EXPECT_NEAR(v.y, 0.02f, EPS);
            EXPECT_EQ(v.s, 0.3f);
            EXPECT_EQ(v.t, 0.3f);
        }
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
}

TEST_F(BuildingGl, ShadesComeFromTheStoreyAndPositionSeed) {
    auto b = plainBuilding(5, 5, 2);
    b->posX = 0.4f;
    b->posZ = -1.2f;
    b->colorR = 0.5f;
    b->floorLight[0] = 0.5f;
    b->floorLight[1] = 0.25f;
    const auto ps = captureDraw(*b);
    for (int storey = 0; storey < 2; ++storey) {
        // 0 + 40.0000006 - 120.0000048 truncates to -80; the next storey to -79.
        seedRandom(static_cast<std::uint32_t>(-80 + storey));
        const float level = b->floorLight[storey];
        const float y1 = static_cast<float>(storey * 0.01 + 0.01);
        for (int col = 0; col < 5; ++col) {
            const float shade = static_cast<float>(randRange(1.0) * level);
            if (col == 0) continue; // the corner edge is shared with the left wall
            const FeedbackVertex* v = findVertex(ps, 0.4f + col * 0.02f, y1, -1.2f);
            ASSERT_NE(v, nullptr) << storey << " " << col;
            EXPECT_FLOAT_EQ(v->r, shade * 0.5f);
            EXPECT_FLOAT_EQ(v->g, shade);
            EXPECT_EQ(v->s, static_cast<float>(col));
            EXPECT_EQ(v->t, 1.0f);
        }
    }
}

TEST_F(BuildingGl, DrawingTwiceGivesTheSameShadesAndTheSameGeneratorState) {
    for (Building& b : buildings)
        b = Building();
    seedRandom(31337);
    generateCity();
    ASSERT_GT(buildingCount, 50);

    const Building& b = buildings[buildingCount / 2];
    ASSERT_GE(b.floors, 1);
    seedRandom(1);
    const auto first = captureDraw(b);
    seedRandom(999);
    const auto second = captureDraw(b);
    ASSERT_EQ(first.size(), second.size());
    for (size_t i = 0; i < first.size(); ++i)
        for (size_t k = 0; k < first[i].vertices.size(); ++k) {
            ASSERT_EQ(first[i].vertices[k].r, second[i].vertices[k].r);
            ASSERT_EQ(first[i].vertices[k].g, second[i].vertices[k].g);
            ASSERT_EQ(first[i].vertices[k].b, second[i].vertices[k].b);
        }

    // A whole pass ends with the generator where the last building left it, whatever came before.
    std::uint32_t after[2];
    for (int frame = 0; frame < 2; ++frame) {
        seedRandom(frame == 0 ? 5u : 123456u);
        for (int i = 0; i < buildingCount; ++i)
            buildings[i].draw();
        after[frame] = randomState();
    }
    EXPECT_EQ(after[0], after[1]);
}

TEST_F(BuildingGl, WithoutStoreysOnlyTheRoofIsDrawnFromTheGeneratorAsItWas) {
    for (float floors : {0.0f, -3.0f}) {
        auto b = plainBuilding(6, 6, floors);
        b->colorR = b->colorG = b->colorB = 1.0f;
        seedRandom(4242);
        const auto ps = captureDraw(*b);
        // No re-seed: the one roof draw follows straight on from 4242.
        EXPECT_EQ(randomState(), stateAfterDraws(4242, 1));
        ASSERT_EQ(ps.size(), 2u);
        seedRandom(4242);
        const float r = static_cast<float>(0.2 + randRange(0.3));
        for (const auto& p : ps)
            for (const auto& v : p.vertices) {
                EXPECT_NEAR(v.y, floors * 0.01f, EPS);
                EXPECT_FLOAT_EQ(v.r, r);
                EXPECT_FLOAT_EQ(v.a, r);
            }
    }
}

TEST_F(BuildingGl, NeverReadsPastTheStoreyTable) {
    auto b = plainBuilding(1, 1, 5000);
    const auto ps = captureDraw(*b, 64.0f, 4000);
    // Four one-cell walls per storey, 999 storeys, then the roof at the full height.
    ASSERT_EQ(ps.size(), 999u * 4u * 2u + 2u);
    float maxWallY = 0;
    for (size_t i = 0; i + 2 < ps.size(); ++i)
        for (const auto& v : ps[i].vertices)
            maxWallY = std::fmax(maxWallY, v.y);
    EXPECT_NEAR(maxWallY, 9.99f, 0.05f);
    EXPECT_NEAR(ps.back().vertices[0].y, 50.0f, 0.05f);
}

TEST_F(BuildingGl, CullingShowsTheOutsideAndHidesTheInside) {
    auto b = plainBuilding(9, 9, 20); // 0.18 wide and deep, 0.2 tall
    const float cx = 0.09f, cy = 0.1f, cz = -0.09f;
    const auto coveredPixels = [&](float ex, float ey, float ez, float tx, float ty, float tz, float ux = 0,
                                   float uy = 1, float uz = 0) {
        glClearColor(0, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(90, 1, 0.01, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(ex, ey, ez, tx, ty, tz, ux, uy, uz);
        b->draw();
        const Image image = readPixels(width, height);
        int covered = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const std::uint8_t* p = image.at(x, y);
                if (!(p[0] == 0 && p[1] == 0 && p[2] == 255)) ++covered;
            }
        return covered;
    };
    glEnable(GL_CULL_FACE);
    // Front, right, back, left, from above, each 0.3 from its face: the building fills about 400 pixels.
    EXPECT_GT(coveredPixels(cx, cy, 0.3f, cx, cy, cz), 200);
    EXPECT_GT(coveredPixels(0.48f, cy, cz, cx, cy, cz), 200);
    EXPECT_GT(coveredPixels(cx, cy, -0.48f, cx, cy, cz), 200);
    EXPECT_GT(coveredPixels(-0.3f, cy, cz, cx, cy, cz), 200);
    EXPECT_GT(coveredPixels(cx, 0.5f, cz, cx, cy, cz, 0, 0, -1), 200);
    // From the middle of the building, every way: nothing.
    const float look[6][6] = {{1, 0, 0, 0, 1, 0},  {-1, 0, 0, 0, 1, 0}, {0, 0, 1, 0, 1, 0},
                              {0, 0, -1, 0, 1, 0}, {0, 1, 0, 0, 0, -1}, {0, -1, 0, 0, 0, -1}};
    for (const auto& l : look) {
        EXPECT_EQ(coveredPixels(cx, cy, cz, cx + l[0], cy + l[1], cz + l[2], l[3], l[4], l[5]), 0);
    }
    // Without culling the inside sides show, so the check above is not empty by accident.
    glDisable(GL_CULL_FACE);
    EXPECT_GT(coveredPixels(cx, cy, cz, cx + 1, cy, cz), 200);
}

TEST_F(BuildingGl, MaterialScalesTheLightsBaseColour) {
    Light light;
    light.index = 2;
    light.colorRed = 1.0f;
    light.colorGreen = 0.5f;
    light.colorBlue = 0.25f;
    Material m;
    m.setScales(0.4f, 0.6f, 0.8f, 0.99f);
    m.weightRed = 0.5f;
    m.weightGreen = 1.0f;
    m.weightBlue = 2.0f;
    m.shininess = 33;
    m.apply(light);

    const float k[3] = {0.5f, 0.5f, 0.5f};
    float v[4];
    const auto expectScaled = [&](const float* got, float scale) {
        for (int c = 0; c < 3; ++c)
            EXPECT_FLOAT_EQ(got[c], scale * k[c]) << c;
        EXPECT_EQ(got[3], 1.0f);
    };
    glGetFloatv(GL_LIGHT_MODEL_AMBIENT, v);
    expectScaled(v, 0.4f);
    glGetLightfv(GL_LIGHT2, GL_AMBIENT, v);
    expectScaled(v, 0.4f);
    glGetLightfv(GL_LIGHT2, GL_DIFFUSE, v);
    expectScaled(v, 0.6f);
    glGetLightfv(GL_LIGHT2, GL_SPECULAR, v);
    expectScaled(v, 0.8f);
    glGetMaterialfv(GL_BACK, GL_SPECULAR, v);
    expectScaled(v, 0.99f);
    glGetLightfv(GL_LIGHT2, GL_SPOT_CUTOFF, v);
    EXPECT_EQ(v[0], 180.0f);
    glGetLightfv(GL_LIGHT2, GL_SPOT_EXPONENT, v);
    EXPECT_EQ(v[0], 1.0f);
    glGetMaterialfv(GL_FRONT, GL_SHININESS, v);
    EXPECT_EQ(v[0], 33.0f);
    // The first light is untouched.
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, v);
    EXPECT_EQ(v[0], 1.0f);

    // A light number past the eight makes no call at all.
    light.index = 8;
    m.setScales(0.1f, 0.1f, 0.1f, 0.1f);
    m.apply(light);
    glGetFloatv(GL_LIGHT_MODEL_AMBIENT, v);
    expectScaled(v, 0.4f);
}

TEST_F(BuildingGl, RendersALitTexturedStreet) {
    resize(320, 180);
    setDefaultRenderState();
    const TextureKind kinds[9] = {SMOKE, SAND, RING, STAR, SPHERE, NOTSPHERE, CHECK, GRADIENT, GRILLE};
    seedRandom(20240611u);
    // Names and the bind cache may come from an earlier test's context.
    for (int slot = 0; slot < 9; ++slot)
        textureSlots[slot].glName = 0;
    lastBoundTexture = ~0u;
    for (int slot = 0; slot < 9; ++slot)
        ASSERT_EQ(textureSlots[slot].generate(kinds[slot], 256, 256, GL_RGBA, true), 0);
    for (Building& b : buildings)
        b = Building();
    generateCity();

    glClearColor(0.0f, 0.0f, 0.075f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(70, 320.0 / 180.0, 0.01, 5.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(-0.55, 0.35, 1.1, 0.1, 0.45, -0.2, 0, 1, 0);

    Light light;
    light.posX = static_cast<float>(std::sin(0.1 * 40.0) * 6);
    light.posY = 0.75f;
    light.posZ = static_cast<float>(std::cos(0.11 * 40.0) * 6);
    light.enable();
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    for (int i = 0; i < buildingCount; ++i) {
        buildings[i].material.apply(light);
        buildings[i].draw();
    }
    Image image = readPixels(width, height);
    // The framebuffer's alpha is the textures' alpha; opaque, the file shows what the screen shows.
    for (size_t i = 3; i < image.rgba.size(); i += 4)
        image.rgba[i] = 255;
    EXPECT_TRUE(writePng(testOutputDir() + "/city-street.png", image));

    // Most of the frame is building, in many different shades.
    int covered = 0;
    bool seen[64] = {};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = image.at(x, y);
            if (p[0] == 0 && p[1] == 0 && p[2] == 19) continue;
            ++covered;
            seen[(p[0] >> 6) * 16 + (p[1] >> 6) * 4 + (p[2] >> 6)] = true;
        }
    int shades = 0;
    for (bool s : seen)
        shades += s ? 1 : 0;
    EXPECT_GT(covered, width * height / 3);
    EXPECT_GE(shades, 6);
}
