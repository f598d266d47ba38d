// City generation: the grid rules over many seeds, the exact draw order of one building, and the table
// entries generation leaves alone.
#include "city/city.h"

#include <gtest/gtest.h>

#include <cmath>

#include "math/random.h"

namespace {
void resetCity() {
    for (Building& b : buildings)
        b = Building();
    buildingCount = 0;
}

bool whole(float v) {
    return v == std::trunc(v);
}

struct Cell {
    int j, k;
    float d;
};

// The grid cell a building was placed in, from its position.
Cell cellOf(const Building& b) {
    const int j = static_cast<int>(std::lround((b.posX + 2.0) / 0.4));
    const int k = static_cast<int>(std::lround((b.posZ + 2.0) / 0.4));
    return {j, k, static_cast<float>(std::sqrt(static_cast<double>((5 - j) * (5 - j) + (5 - k) * (5 - k))))};
}

void expectDefaults(const Building& b) {
    EXPECT_EQ(b.posX, 0.0f);
    EXPECT_EQ(b.columnsX, 0.05f);
    EXPECT_EQ(b.columnsZ, 0.05f);
    EXPECT_EQ(b.floors, 10.0f);
    EXPECT_EQ(b.colorR, 1.0f);
    EXPECT_EQ(b.colorA, 1.0f);
    EXPECT_EQ(b.textureIndex, 0);
    EXPECT_EQ(b.floorLight[0], 0.0f);
    EXPECT_EQ(b.material.ambientScale, 0.25f);
    EXPECT_EQ(b.material.diffuseScale, 0.5f);
    EXPECT_EQ(b.material.specularScale, 0.75f);
    EXPECT_EQ(b.material.shininess, 20);
}
} // namespace

TEST(GenerateCity, FollowsTheGridRulesForManySeeds) {
    int roofOnly = 0, distanceFour = 0;
    long total = 0;
    for (std::uint32_t seed = 0; seed < 300; ++seed) {
        resetCity();
        seedRandom(seed * 2654435761u);
        generateCity();
        ASSERT_GE(buildingCount, 1);
        ASSERT_LE(buildingCount, MAX_BUILDINGS);
        total += buildingCount;

        int centres = 0, previous = -1;
        for (int i = 0; i < buildingCount; ++i) {
            const Building& b = buildings[i];
            const Cell c = cellOf(b);
            ASSERT_EQ(b.posX, static_cast<float>(c.j * 0.4 - 2.0));
            ASSERT_EQ(b.posZ, static_cast<float>(c.k * 0.4 - 2.0));
            ASSERT_EQ(b.posY, 0.0f);
            // Stored in grid order without gaps: row j, then column k.
            ASSERT_GT(c.j * 10 + c.k, previous);
            previous = c.j * 10 + c.k;

            ASSERT_TRUE(whole(b.columnsX) && b.columnsX >= 5 && b.columnsX <= 9) << b.columnsX;
            ASSERT_TRUE(whole(b.columnsZ) && b.columnsZ >= 5 && b.columnsZ <= 9) << b.columnsZ;
            ASSERT_GE(b.textureIndex, 0);
            ASSERT_LE(b.textureIndex, 8);
            ASSERT_GE(b.material.shininess, 5);
            ASSERT_LE(b.material.shininess, 49);
            ASSERT_GE(b.colorR, 0.5f);
            ASSERT_LT(b.colorR, 0.8f);
            ASSERT_GE(b.colorG, b.colorR);
            ASSERT_GE(b.colorB, b.colorR);
            ASSERT_LT(b.colorG, 1.0f);
            ASSERT_LT(b.colorB, 1.0f);
            ASSERT_EQ(b.colorA, 1.0f);
            ASSERT_GE(b.material.ambientScale, 0.3f);
            ASSERT_LT(b.material.ambientScale, 0.45f);
            ASSERT_GE(b.material.diffuseScale, 0.45f);
            ASSERT_LT(b.material.diffuseScale, 0.75f);
            ASSERT_GE(b.material.specularScale, 0.75f);
            ASSERT_LT(b.material.specularScale, 1.0f);
            ASSERT_EQ(b.material.materialSpecularScale, 0.99f);
            ASSERT_EQ(b.material.weightRed, 1.0f);
            ASSERT_EQ(b.material.weightGreen, 1.0f);
            ASSERT_EQ(b.material.weightBlue, 1.0f);

            ASSERT_TRUE(whole(b.floors));
            ASSERT_LE(b.floors, 149);
            ASSERT_GE(b.floors, -83); // the far corner's lowest
            for (int l = 0; l < b.floors; ++l) {
                ASSERT_GE(b.floorLight[l], 0.0f);
                ASSERT_LT(b.floorLight[l], 1.0f);
            }
            // Storeys past the count are not written (they stay zero after the reset).
            const int written = b.floors > 0 ? static_cast<int>(b.floors) : 0;
            ASSERT_EQ(b.floorLight[written], 0.0f);

            if (c.j == 5 && c.k == 5) {
                ++centres;
                ASSERT_EQ(b.posX, 0.0f);
                ASSERT_EQ(b.posZ, 0.0f);
                ASSERT_GE(b.floors, 20);
            }
            if (c.d == 4.0f) {
                ++distanceFour;
                ASSERT_GE(b.floors, 18);
                ASSERT_LE(b.floors, 20);
            }
            if (c.d < 3.3f) {
                ASSERT_GE(b.floors, 20);
            }
            if (b.floors <= 0) {
                ++roofOnly;
                ASSERT_GT(c.d, 4.5f); // only beyond 150/33 can the count reach zero
            }
        }
        ASSERT_EQ(centres, 1);
        for (int i = buildingCount; i < MAX_BUILDINGS; ++i) {
            SCOPED_TRACE(i);
            expectDefaults(buildings[i]);
        }
    }
    EXPECT_GT(roofOnly, 0);
    EXPECT_GT(distanceFour, 300);
    // The placement chances 1 - 0.05 d add up to 80.7 buildings on average.
    EXPECT_NEAR(total / 300.0, 80.7, 1.0);
}

TEST(GenerateCity, DrawsEachBuildingInItsFixedOrder) {
    // Find a seed whose first cell (0, 0), at distance sqrt(50), is placed, and replay its draws.
    std::uint32_t seed = 1;
    for (;; ++seed) {
        seedRandom(seed);
        if (randRange(1.0) < 1.0 - 0.05 * static_cast<float>(std::sqrt(50.0))) break;
    }
    resetCity();
    seedRandom(seed);
    generateCity();
    seedRandom(seed);
    const auto next = [] { return nextRandom() / 32768.0; };
    next();
    const Building& b = buildings[0];
    const float r = static_cast<float>(0.5 + next() * 0.3);
    EXPECT_EQ(b.colorR, r);
    EXPECT_EQ(b.colorG, static_cast<float>(r + next() * 0.2));
    EXPECT_EQ(b.colorB, static_cast<float>(r + next() * 0.2));
    EXPECT_EQ(b.posX, -2.0f);
    EXPECT_EQ(b.posZ, -2.0f);
    EXPECT_EQ(b.columnsX, std::trunc(next() * 5 + 5));
    EXPECT_EQ(b.columnsZ, std::trunc(next() * 5 + 5));
    const double range = 20 + 110 * (1 - 0.3 * static_cast<float>(std::sqrt(50.0)));
    EXPECT_EQ(b.floors, std::trunc(next() * range + 20));
    EXPECT_EQ(b.textureIndex, static_cast<int>(next() * 9));
    if (next() >= 0.9) next();
    for (int l = 0; l < b.floors; ++l) {
        const float u = static_cast<float>(next());
        EXPECT_EQ(b.floorLight[l], u * u);
    }
    EXPECT_EQ(b.material.specularScale, static_cast<float>(0.75 + next() * 0.25));
    EXPECT_EQ(b.material.diffuseScale, static_cast<float>(0.45 + next() * 0.3));
    EXPECT_EQ(b.material.ambientScale, static_cast<float>(0.3 + next() * 0.15));
    EXPECT_EQ(b.material.shininess, static_cast<int>(next() * 45 + 5));
}

TEST(GenerateCity, LeavesEarlierEntriesPastTheNewCountAsTheyWere) {
    // A rich city first, then a poorer one: entries past the new count keep the first city's values.
    resetCity();
    std::uint32_t rich = 0, poor = 0;
    int richCount = 0, poorCount = MAX_BUILDINGS + 1;
    for (std::uint32_t seed = 1; seed < 200; ++seed) {
        seedRandom(seed);
        generateCity();
        if (buildingCount > richCount) richCount = buildingCount, rich = seed;
        if (buildingCount < poorCount) poorCount = buildingCount, poor = seed;
    }
    ASSERT_LT(poorCount, richCount);
    resetCity();
    seedRandom(rich);
    generateCity();
    const Building last = buildings[richCount - 1];
    seedRandom(poor);
    generateCity();
    EXPECT_EQ(buildingCount, poorCount);
    EXPECT_EQ(buildings[richCount - 1].posX, last.posX);
    EXPECT_EQ(buildings[richCount - 1].floors, last.floors);
    EXPECT_EQ(buildings[richCount - 1].colorR, last.colorR);
}
