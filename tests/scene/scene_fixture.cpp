#include "tests/scene/scene_fixture.h"

#include "scene/frame_pipeline.h"
#include "shell/frame_clock.h"
#include "shell/render_state.h"

std::int64_t simulatedMs = 0;

int simulatedReading() {
    return static_cast<int>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(simulatedMs)));
}

void SceneTest::SetUp() {
    if (width == 64 && height == 64) {
        width = 320;
        height = 180;
    }
    GlTest::SetUp();
    frameClockSource = simulatedReading;
}

void SceneTest::TearDown() {
    frameClockSource = glutElapsedMilliseconds;
    GlTest::TearDown();
}

void SceneTest::startScene(std::int64_t firstMs) {
    simulatedMs = firstMs;
    setDefaultRenderState();
    sceneStartup(width, height);
}

void SceneTest::frame(int intervalMs) {
    simulatedMs += intervalMs;
    renderFrame();
}
