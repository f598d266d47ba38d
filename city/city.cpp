// City generation: which cells get a building, and each building's footprint, height, colour, storey
// lights, texture and material, drawn from the shared generator in a fixed order.
#include "city/city.h"

#include <cmath>

#include "math/random.h"

namespace {
void fillBuilding(Building& b, std::int32_t j, std::int32_t k, float d) {
    b.colorR = static_cast<float>(0.5 + randRange(0.3));
    b.colorG = static_cast<float>(b.colorR + randRange(0.2));
    b.colorB = static_cast<float>(b.colorR + randRange(0.2));

    b.posX = static_cast<float>(j * GRID_SPACING + GRID_ORIGIN);
    b.posY = 0.0f;
    b.posZ = static_cast<float>(k * GRID_SPACING + GRID_ORIGIN);

    b.columnsX = static_cast<float>(static_cast<std::int32_t>(randRange(5.0) + 5.0));
    b.columnsZ = static_cast<float>(static_cast<std::int32_t>(randRange(5.0) + 5.0));
    // Far from the centre the range turns negative and the storey count may reach zero or below: such a
    // building keeps its count and shows only its roof.
    b.floors =
        static_cast<float>(static_cast<std::int32_t>(randRange(20.0 + 110.0 * (1.0 - 0.3 * d)) + 20.0));
    b.textureIndex = static_cast<std::int32_t>(randRange(9.0));

    // Two draws that nothing depends on, kept so the rest of the sequence stays where it was.
    if (randRange(1.0) >= 0.9) randRange(0.3);

    for (std::int32_t l = 0; l < b.floors && l < FLOOR_CAPACITY; ++l)
        b.floorLight[l] = randPow(2);

    const float specular = static_cast<float>(0.75 + randRange(0.25));
    const float diffuse = static_cast<float>(0.45 + randRange(0.3));
    const float ambient = static_cast<float>(0.3 + randRange(0.15));
    b.material.setScales(ambient, diffuse, specular, 0.99f);
    b.material.shininess = static_cast<std::int32_t>(randRange(45.0) + 5.0);
    b.material.weightRed = 1.0f;
    b.material.weightGreen = 1.0f;
    b.material.weightBlue = 1.0f;
}
} // namespace

void generateCity() {
    std::int32_t n = 0;
    for (std::int32_t j = 0; j < GRID_CELLS; ++j) {
        for (std::int32_t k = 0; k < GRID_CELLS; ++k) {
            const std::int32_t dj = 5 - j;
            const std::int32_t dk = 5 - k;
            const float d = static_cast<float>(std::sqrt(static_cast<double>(dj * dj + dk * dk)));
            if (!(randRange(1.0) < 1.0 - 0.05 * d)) continue;
            if (n >= MAX_BUILDINGS) continue;
            fillBuilding(buildings[n], j, k, d);
            n = n + 1;
        }
    }
    buildingCount = n;
}
