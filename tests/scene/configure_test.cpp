#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "city/city.h"
#include "math/random.h"
#include "scene/scene_config.h"
#include "scene/scene_globals.h"
#include "tests/scene/scene_fixture.h"

namespace {
// Points a display list emits, counted through OpenGL's feedback mode under a projection that holds them all.
int pointsInList(GLuint list) {
    static GLfloat feedback[65536];
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-10, 10, -10, 10, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glFeedbackBuffer(65536, GL_3D, feedback);
    glRenderMode(GL_FEEDBACK);
    glCallList(list);
    const GLint values = glRenderMode(GL_RENDER);
    int points = 0;
    for (GLint i = 0; i < values;) {
        if (feedback[i] == GL_POINT_TOKEN) {
            ++points;
            i += 4;
        } else {
            ADD_FAILURE() << "unexpected feedback token " << feedback[i];
            break;
        }
    }
    return points;
}
} // namespace

class ConfigureScene : public SceneTest {};

TEST_F(ConfigureScene, SetsTheDisplayViewsAndOscillators) {
    // The phases were drawn at construction from the unseeded generator; configuration leaves them alone.
    const double phases[8] = {1.251220703125,   563.568115234375, 193.29833984375, 808.7158203125,
                              584.991455078125, 479.8583984375,   350.28076171875, 895.93505859375};
    startScene();
    const Oscillator* oscillators[8] = {&camPosXOsc, &camPosYOsc, &camPosZOsc,  &auxSpinOsc,
                                        &camYawOsc,  &camRollOsc, &auxPulseOsc, &letterboxOsc};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(oscillators[i]->phase, phases[i]) << i;
        EXPECT_EQ(oscillators[i]->id, i);
        EXPECT_EQ(oscillators[i]->throttle, 1.0);
        EXPECT_EQ(oscillators[i]->timeScale, 1.0);
    }
    EXPECT_EQ(camPosXOsc.modulator, &moveSpeed);
    EXPECT_EQ(camRollOsc.modulator, &turnSpeed);
    EXPECT_EQ(letterboxOsc.modulator, &pulseSpeed);
    EXPECT_EQ(camPosYOsc.speed, 0.11);
    EXPECT_EQ(camPosYOsc.offset, 0.05);
    EXPECT_EQ(camYawOsc.range, 360.0);
    EXPECT_EQ(camRollOsc.offset, -2.0);
    EXPECT_EQ(auxPulseOsc.range, 0.5);
    EXPECT_EQ(letterboxOsc.range, 0.25);

    EXPECT_EQ(display.fadeAlpha, 0.2f);
    EXPECT_EQ(display.letterbox, 0.2f);
    EXPECT_EQ(display.viewCount, 2);
    EXPECT_EQ(display.backgroundColor[2], 0.075f);
    EXPECT_EQ(display.width, 320.0f);
    EXPECT_EQ(display.height, 180.0f);
    EXPECT_EQ(display.views[0].letterboxed, 0);
    EXPECT_EQ(display.views[1].letterboxed, 1);
    const Camera& camera = display.views[1].camera;
    EXPECT_EQ(camera.fov, 70.0);
    EXPECT_EQ(camera.eyeDistance, 0.0f);
    EXPECT_EQ(camera.zNear, 0.01f);
    EXPECT_EQ(camera.zFar, 5.0f);
    EXPECT_EQ(camera.billboardAngles.y, 180.0f);

    EXPECT_EQ(fog.start, 0.2f);
    EXPECT_EQ(fog.end, 2.5f);
    GLfloat fogEnd = 0;
    glGetFloatv(GL_FOG_END, &fogEnd);
    EXPECT_EQ(fogEnd, 2.5f);
    EXPECT_FALSE(glIsEnabled(GL_FOG));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_EQ(light.markerRadius, 0.03f);
    EXPECT_EQ(showParticleCloud, 0);
    EXPECT_EQ(enableCullFace, 1);
}

TEST_F(ConfigureScene, BuildsTheStarDomeTexturesAndCityFromTheSeed) {
    startScene(4321);
    EXPECT_EQ(starField.starCount, 666);
    EXPECT_EQ(starField.layers, 2);
    ASSERT_NE(starField.listId, 0u);
    EXPECT_EQ(pointsInList(starField.listId), 333);

    for (int slot = 0; slot < 9; ++slot) {
        EXPECT_EQ(textureSlots[slot].registryIndex, slot) << "generated in slot order";
        EXPECT_NE(textureSlots[slot].glName, 0u);
        EXPECT_EQ(textureSlots[slot].width, 256);
        EXPECT_TRUE(glIsTexture(textureSlots[slot].glName));
    }
    EXPECT_EQ(textureSlots[9].registryIndex, -1);
    EXPECT_EQ(textureSlots[9].glName, 0u);
    EXPECT_GT(buildingCount, 0);
    EXPECT_LE(buildingCount, MAX_BUILDINGS);
}

TEST(SceneSeed, IsTheFirstReadingPlusAFixedOffsetAndNeverUndefined) {
    EXPECT_EQ(sceneSeed(1000.0), 1000u + SEED_OFFSET);
    EXPECT_EQ(sceneSeed(1000.9), 1000u + SEED_OFFSET);
    EXPECT_EQ(sceneSeed(-5.0), SEED_OFFSET - 5u);
    EXPECT_EQ(sceneSeed(1e300), 2147483647u + SEED_OFFSET);
    EXPECT_EQ(sceneSeed(-1e300), 2147483648u + SEED_OFFSET);
    EXPECT_EQ(sceneSeed(std::nan("")), SEED_OFFSET);
}
