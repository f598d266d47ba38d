// Every scene global, in construction order. The order is load-bearing: the eight oscillators take the
// first eight numbers of the unseeded generator as their phases, so the camera path starts the same way
// on every run. No other constructor here draws a random number.
#include "scene/scene_globals.h"

#include "city/city.h"

Fog fog;
Light light;
Display display;
StarField starField;
ParticleCloud particleCloud;
FrameClock frameClock;
Oscillator camPosXOsc;
Oscillator camPosYOsc;
Oscillator camPosZOsc;
Oscillator auxSpinOsc;
Oscillator camYawOsc;
Oscillator camRollOsc;
Oscillator auxPulseOsc;
Oscillator letterboxOsc;
Texture textureSlots[TEXTURE_SLOT_COUNT];
Building buildings[MAX_BUILDINGS];
std::int32_t buildingCount = 0;

double sceneScale = 1.0;
double letterboxAmount = 0.2;
double moveSpeed = 0.6;
double turnSpeed = 0.7;
double pulseSpeed = 1.0;

std::int32_t showOverlay = 0;
std::int32_t showViews = 1;
std::int32_t showShadeOverlay = 0;
std::int32_t enableBlend = 0;
std::int32_t enableCullFace = 1;
std::int32_t enableDepthTest = 1;
std::int32_t enableFog = 0;
std::int32_t enableLighting = 1;
std::int32_t showStarField = 1;
std::int32_t showParticleCloud = 0;
std::int32_t enableTexture = 1;
