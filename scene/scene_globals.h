// The scene's global objects, tunable values and switches. All of them are defined in scene_globals.cpp,
// in construction order: the oscillators draw their initial phases as they are built.
#pragma once

#include <cstdint>

#include "city/building.h"
#include "display/display.h"
#include "effects/fog.h"
#include "effects/light.h"
#include "effects/particle_cloud.h"
#include "effects/star_field.h"
#include "math/oscillator.h"
#include "shell/frame_clock.h"
#include "textures/texture.h" // textureSlots
#include "city/city.h"        // buildings, buildingCount

extern Fog fog;
extern Light light;
extern Display display;
extern StarField starField;
extern ParticleCloud particleCloud;
extern FrameClock frameClock;
extern Oscillator camPosXOsc;
extern Oscillator camPosYOsc;
extern Oscillator camPosZOsc;
extern Oscillator auxSpinOsc;
extern Oscillator camYawOsc;
extern Oscillator camRollOsc;
extern Oscillator auxPulseOsc;
extern Oscillator letterboxOsc;

extern double sceneScale;
extern double letterboxAmount;
extern double moveSpeed;
extern double turnSpeed;
extern double pulseSpeed;

extern std::int32_t showOverlay;
extern std::int32_t showViews;
extern std::int32_t showShadeOverlay;
extern std::int32_t enableBlend;
extern std::int32_t enableCullFace;
extern std::int32_t enableDepthTest;
extern std::int32_t enableFog;
extern std::int32_t enableLighting;
extern std::int32_t showStarField;
extern std::int32_t showParticleCloud;
extern std::int32_t enableTexture;
