// Google Benchmark timings of one whole frame and of the building pass alone, on an offscreen OSMesa
// context at 640x480 with the real start-up.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdint>

#include "city/city.h"
#include "scene/frame_pipeline.h"
#include "scene/scene_globals.h"
#include "shell/render_state.h"
#include "tools/offscreen_context.h"

namespace {
std::int64_t simulatedMs = 1000;
int simulatedReading() {
    return static_cast<int>(static_cast<std::uint32_t>(simulatedMs));
}

// One context and one start-up for the whole program: the scene globals live for the process.
struct Scene {
    Scene() : gl(640, 480) {
        frameClockSource = simulatedReading;
        setDefaultRenderState();
        sceneStartup(640, 480);
        simulatedMs += 33;
        renderFrame();
    }
    Offscreen gl;
};

Scene& scene() {
    static Scene instance;
    return instance;
}

void BM_RenderFrame(benchmark::State& state) {
    scene();
    for (auto _ : state) {
        simulatedMs += 16;
        renderFrame();
        glFinish();
    }
}
BENCHMARK(BM_RenderFrame)->Unit(benchmark::kMillisecond);

void BM_BuildingPass(benchmark::State& state) {
    scene();
    for (auto _ : state) {
        applySceneToggles();
        for (int i = 0; i < buildingCount; ++i) {
            buildings[i].material.apply(light);
            buildings[i].draw();
        }
        restoreSceneToggles();
        glFinish();
    }
    state.counters["buildings"] = buildingCount;
}
BENCHMARK(BM_BuildingPass)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
