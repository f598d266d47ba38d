// The city: a fixed table of buildings on a ten-by-ten grid, filled once at start-up from the shared
// generator. Denser and taller towards the reference cell (5, 5), which stands at the world origin.
#pragma once

#include <cstdint>

#include "city/building.h"

constexpr std::int32_t GRID_CELLS = 10;
constexpr double GRID_SPACING = 0.4;
constexpr double GRID_ORIGIN = -2.0;
constexpr std::int32_t MAX_BUILDINGS = 100;

// Defined with the other scene globals; only the first buildingCount entries are ever drawn.
extern Building buildings[MAX_BUILDINGS];
extern std::int32_t buildingCount;

// Fills buildings[0 .. n-1] in grid order (row j, then column k) and sets buildingCount = n. Entries from
// n on are left as they are.
void generateCity();
