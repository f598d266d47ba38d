// Scene configuration: every value in the order it has always been set, ending with the star field, the
// nine textures and the city.
#include "scene/scene_config.h"

#include <GL/gl.h>

#include "city/city.h"
#include "math/random.h"
#include "scene/scene_globals.h"

std::uint32_t sceneSeed(double elapsedMs) {
    // Truncated toward zero like any int conversion, saturated so no reading can make it undefined.
    std::int32_t ms = 0;
    if (elapsedMs >= 2147483647.0)
        ms = 2147483647;
    else if (elapsedMs <= -2147483648.0)
        ms = -2147483647 - 1;
    else if (elapsedMs == elapsedMs)
        ms = static_cast<std::int32_t>(elapsedMs);
    return static_cast<std::uint32_t>(ms) + SEED_OFFSET;
}

namespace {
void configureOscillator(Oscillator& o, double speed, const double* modulator, double range, double offset) {
    o.speed = speed;
    o.modulator = modulator;
    o.range = range;
    o.offset = offset;
}

const TextureKind SLOT_KINDS[9] = {SMOKE, SAND, RING, STAR, SPHERE, NOTSPHERE, CHECK, GRADIENT, GRILLE};
} // namespace

void configureScene() {
    // Scene and display.
    sceneScale = 1.0;
    letterboxAmount = 0.2;
    display.fadeAlpha = 0.2f;
    display.letterbox = static_cast<float>(letterboxAmount);
    display.setBackground(0.0f, 0.0f, 0.075f, 1.0f);
    display.viewCount = 2;

    // View 1; view 0 keeps its defaults (whole window, not letterboxed, orthographic only).
    View& view = display.views[1];
    view.setNormRect(0, 0, 1, 1);
    view.letterboxed = 1;
    Camera& camera = view.camera;
    camera.fov = 70.0;
    camera.eyeDistance = 0.0f; // the rotations turn the view about the eye itself
    camera.zNear = static_cast<float>(sceneScale * 0.01);
    camera.zFar = static_cast<float>(sceneScale * 5.0);
    camera.billboardAngles = {0.0f, 180.0f, 0.0f};

    // Fog in the background's colour, so fogged geometry sinks into it.
    fog.start = static_cast<float>(sceneScale * 0.2);
    fog.end = static_cast<float>(sceneScale * 2.5);
    fog.setColor(0.0f, 0.0f, 0.075f, 0.0f);
    fog.apply();

    light.colorRed = 1.0f;
    light.colorGreen = 1.0f;
    light.colorBlue = 1.0f;
    light.markerRadius = 0.03f;
    light.enable();

    showOverlay = 0;
    showViews = 1;
    showShadeOverlay = 0;
    enableBlend = 0;
    enableCullFace = 1;
    enableDepthTest = 1;
    enableFog = 0;
    enableLighting = 1;
    showStarField = 1;
    showParticleCloud = 0;
    enableTexture = 1;

    moveSpeed = 0.6;
    turnSpeed = 0.7;
    pulseSpeed = 1.0;

    configureOscillator(camPosXOsc, 0.1, &moveSpeed, 1.8, -0.9);
    configureOscillator(camPosYOsc, 0.11, &moveSpeed, 1.0, 0.05);
    configureOscillator(camPosZOsc, 0.14, &moveSpeed, 1.6, -0.7);
    configureOscillator(auxSpinOsc, 0.02, &turnSpeed, 0.0, 0.0);
    configureOscillator(camYawOsc, 0.022, &turnSpeed, 360.0, 0.0);
    configureOscillator(camRollOsc, 0.028, &turnSpeed, 4.0, -2.0);
    configureOscillator(auxPulseOsc, 0.3, &pulseSpeed, 0.5, 0.15);
    configureOscillator(letterboxOsc, 0.1, &pulseSpeed, 0.25, 0.0);

    // From here on every draw depends on the first clock reading.
    frameClock.step();
    seedRandom(sceneSeed(frameClock.elapsedMs));

    if (showStarField != 0) {
        starField.starCount = 2000;
        if (display.fadeAlpha < 1.0f) starField.starCount = starField.starCount / 3;
        starField.layers = 2;
        starField.outerSize = sceneScale * 3.0;
        starField.innerSize = 0.0 * starField.outerSize;
        starField.blend = 1;
        starField.depthTest = 0;
        starField.depthWrite = 0;
        starField.shape = SHAPE_DOME;
        starField.followCamera = 1;
        starField.useFog = 0;
        starField.colorSpread = 0.2;
        starField.colorBase = 0.8;
        starField.build();
    }

    if (showParticleCloud != 0) {
        particleCloud.count = 6;
        particleCloud.outerSize = static_cast<float>(2.0 * sceneScale);
        particleCloud.innerSize = static_cast<float>(0.0 * particleCloud.outerSize);
        particleCloud.alpha = 0.105f;
        particleCloud.alphaTest = 1;
        particleCloud.alphaRef = 0.01f;
        particleCloud.blend = 1;
        particleCloud.blendSrc = 2;
        particleCloud.blendDst = 3;
        particleCloud.depthTest = 1;
        particleCloud.depthWrite = 0;
        particleCloud.useFog = 1;
        particleCloud.shape = SHAPE_DOME;
        particleCloud.texture = &textureSlots[0];
        particleCloud.quadSize = 1.2f;
        particleCloud.init();
    }

    for (int slot = 0; slot < 9; ++slot)
        textureSlots[slot].generate(SLOT_KINDS[slot], 256, 256, GL_RGBA, true);

    generateCity();
}
