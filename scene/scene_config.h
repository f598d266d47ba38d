// The one place every tunable value of the scene is set, once, at window creation.
#pragma once

#include <cstdint>

// Added to the first clock reading to seed the generator; fixed, so one first reading always gives the
// same stars, textures and city.
constexpr std::uint32_t SEED_OFFSET = 0x4E470000u;

// The seed that a first clock reading of `elapsedMs` milliseconds gives.
std::uint32_t sceneSeed(double elapsedMs);

// Needs a current rendering context: it applies the fog, enables the light, builds the star list and
// uploads the textures.
void configureScene();
