// The frame pipeline: start-up, one frame per timer tick, and the passes in their fixed order. It owns no
// objects; everything it touches is a scene global.
#include "scene/frame_pipeline.h"

#include <GL/gl.h>

#include <cmath>

#include "city/city.h"
#include "scene/scene_config.h"
#include "scene/scene_globals.h"
#include "textures/primitives.h"

void sceneStartup(int width, int height) {
    display.setSize(static_cast<float>(width), static_cast<float>(height));
    configureScene();
    // setSize does not move the views, and view 0 still has the size it was built with: lay the views out
    // now, so the start-up clear and a frame without 3D views cover the whole window, not a corner of it.
    display.layoutViews();
    glDepthMask(GL_FALSE);
    glDisable(GL_LIGHTING);
    display.useViewport(0);
    display.useOrtho(0);
    display.drawBackground();
}

void deleteStarList() {
    if (showStarField != 0) starField.release();
}

void applySceneToggles() {
    if (enableBlend != 0) {
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_BLEND);
    } else {
        glDisable(GL_BLEND);
    }
    if (enableCullFace != 0)
        glEnable(GL_CULL_FACE);
    else
        glDisable(GL_CULL_FACE);
    if (enableDepthTest != 0) {
        glEnable(GL_DEPTH_TEST);
        glDepthMask(GL_TRUE);
    } else {
        glDisable(GL_DEPTH_TEST); // the depth mask stays as the pass before left it
    }
    if (enableFog != 0)
        glEnable(GL_FOG);
    else
        glDisable(GL_FOG);
    if (enableLighting != 0)
        glEnable(GL_LIGHTING);
    else
        glDisable(GL_LIGHTING);
    if (enableTexture != 0)
        glEnable(GL_TEXTURE_2D);
    else
        glDisable(GL_TEXTURE_2D);
}

void restoreSceneToggles() {
    if (enableBlend != 0) glDisable(GL_BLEND);
    if (enableCullFace != 0) glDisable(GL_CULL_FACE);
    if (enableDepthTest != 0) glDisable(GL_DEPTH_TEST);
    if (enableFog != 0) glDisable(GL_FOG);
    if (enableLighting != 0) glDisable(GL_LIGHTING);
    if (enableTexture != 0) glDisable(GL_TEXTURE_2D);
}

void animateScene() {
    const double dt = frameClock.deltaSeconds;
    // Fixed order: a resting oscillator draws from the shared generator.
    camPosXOsc.step(dt);
    camPosYOsc.step(dt);
    camPosZOsc.step(dt);
    camYawOsc.step(dt);
    auxSpinOsc.step(dt);
    camRollOsc.step(dt);
    auxPulseOsc.step(dt);
    letterboxOsc.step(dt);
    display.fadeAlpha = 1.0f;
    letterboxAmount = letterboxOsc.value();
    if (showParticleCloud != 0)
        particleCloud.step(static_cast<float>(dt), static_cast<float>(sceneScale * 0.5));
    display.letterbox = static_cast<float>(letterboxAmount);
}

void updateCameraPath() {
    if (display.currentView == 1) {
        Transform& pose = display.views[1].camera.transform;
        pose.position.x = static_cast<float>(camPosXOsc.value());
        pose.position.y = static_cast<float>(camPosYOsc.value());
        pose.position.z = static_cast<float>(camPosZOsc.value());
        pose.rotation.x = static_cast<float>((camPosYOsc.unitValue() - 0.5) * -180.0);
        pose.rotation.y = static_cast<float>(camYawOsc.value());
        pose.rotation.z = static_cast<float>(camRollOsc.value());
    }
    currentCamera().applyView();
}

void renderGroundAndCity() {
    const double t = frameClock.currentSeconds;
    light.posX = static_cast<float>(std::sin(0.1 * t) * 6.0);
    light.posY = 0.75f;
    light.posZ = static_cast<float>(std::cos(0.11 * t) * 6.0);
    light.apply();
    light.drawMarker();
    glDisable(GL_LIGHTING);

    // Ground: the smoke texture once across an 8 x 8 square in the plane y = 0.
    glColor4f(0.11f, 0.13f, 0.14f, 1.0f);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    textureSlots[0].bind();
    glEnable(GL_TEXTURE_2D);
    glPushMatrix();
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    drawTiledQuad(-4.0f, -4.0f, 8.0f, 8.0f, 1.0f, 1.0f);
    glPopMatrix();

    // The drifting translucent layer one unit up, always fogged.
    glColor4f(0.9f, 0.9f, 0.9f, 0.3f);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_DST_ALPHA);
    glEnable(GL_FOG);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    textureSlots[0].bind();
    glPushMatrix();
    glTranslatef(0.0f, 1.0f, 0.0f);
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    drawScrolledQuad(-3.0f, -3.0f, 6.0f, 6.0f, 2.0f, 2.0f, static_cast<float>(0.02 * t),
                     static_cast<float>(0.022 * t));
    glPopMatrix();
    glDisable(GL_BLEND);
    glDisable(GL_FOG);
    glDisable(GL_TEXTURE_2D);

    applySceneToggles();
    for (int i = 0; i < buildingCount && i < MAX_BUILDINGS; ++i) {
        if (enableLighting != 0) buildings[i].material.apply(light);
        buildings[i].draw();
    }
    restoreSceneToggles();
}

void renderView() {
    updateCameraPath();
    if (showStarField != 0) {
        if (enableFog != 0 && starField.useFog != 0) glEnable(GL_FOG);
        starField.draw(currentCamera());
        glDisable(GL_FOG);
    }
    renderGroundAndCity();
    if (showParticleCloud != 0) {
        if (enableFog != 0 && particleCloud.useFog != 0) glEnable(GL_FOG);
        particleCloud.draw(currentCamera(), display.fadeAlpha);
        glDisable(GL_FOG);
    }
}

void drawOverlay() {
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    textureSlots[0].bind();
    glEnable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    drawQuad(0.0f, 0.0f, display.areaWidth, display.areaHeight);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}

void drawShadeOverlay() {
    glBlendFunc(GL_ZERO, GL_SRC_COLOR); // the screen is multiplied by the texture
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    glDisable(GL_LIGHTING);
    textureSlots[0].bind();
    glEnable(GL_TEXTURE_2D);
    glColor3f(1.0f, 1.0f, 1.0f);
    drawQuad(0.0f, 0.0f, display.areaWidth, display.areaHeight);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}

void renderFrame() {
    frameClock.step();
    animateScene();
    glDepthMask(GL_FALSE);
    glDisable(GL_LIGHTING);
    display.useViewport(0);
    display.useOrtho(0);
    display.drawBackground();
    if (showOverlay != 0) drawOverlay();
    if (showViews != 0) {
        display.letterbox = static_cast<float>(letterboxAmount);
        display.layoutViews();
        const int views = display.viewCount < MAX_VIEWS ? display.viewCount : MAX_VIEWS;
        for (int i = 1; i < views; ++i) {
            // A view squeezed to nothing (a zero-height preview, say) has no usable aspect: skip it.
            const View& view = display.views[i];
            if (!(view.pixHeight > 0.0f) || !(view.pixWidth > 0.0f)) continue;
            display.useViewport(i);
            display.views[1].camera.applyProjection(display);
            renderView();
        }
    }
    if (showShadeOverlay != 0) {
        display.useViewport(0);
        display.useOrtho(0);
        drawShadeOverlay();
    }
}

Camera& currentCamera() {
    const int i = display.currentView >= 0 && display.currentView < MAX_VIEWS ? display.currentView : 0;
    return display.views[i].camera;
}
