// The three scene globals the city code reads, for the city tests alone: the scene library's own
// definitions come with every other scene global, which these tests do not want to construct.
#include "city/city.h"
#include "scene/scene_globals.h"

Texture textureSlots[TEXTURE_SLOT_COUNT];
Building buildings[MAX_BUILDINGS];
std::int32_t buildingCount = 0;
