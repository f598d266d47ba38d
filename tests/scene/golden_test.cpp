// Reference frames of the whole pipeline. To regenerate them after an intended change of the picture:
//   NIGHTGRID_UPDATE_GOLDEN=1 build/tests/scene/test_scene --gtest_filter='Golden*'
// (the images go to tests/golden/ of the source tree the test was built from).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/scene/scene_fixture.h"

namespace {
std::string goldenPath(const std::string& name) {
    const char* dir = std::getenv("NIGHTGRID_GOLDEN");
    return std::string(dir != nullptr && dir[0] != '\0' ? dir : NIGHTGRID_GOLDEN_DIR) + "/" + name + ".png";
}

// Rendering noise between CPUs and Mesa builds is a few levels on edge pixels; a changed scene moves far
// more.
void expectMatchesGolden(const std::string& name, int width, int height) {
    Image actual = readPixels(width, height);
    for (size_t i = 3; i < actual.rgba.size(); i += 4)
        actual.rgba[i] = 255;
    const std::string path = goldenPath(name);
    if (std::getenv("NIGHTGRID_UPDATE_GOLDEN") != nullptr) {
        ASSERT_TRUE(writePng(path, actual)) << path;
        return;
    }
    Image expected;
    ASSERT_TRUE(readPng(path, expected)) << "missing " << path;
    ImageComparison result;
    EXPECT_TRUE(compareImages(actual, expected, 12, width * height / 200, name, &result))
        << name << ": " << result.differingPixels << " pixels differ (largest channel difference "
        << result.maxChannelDifference << "); actual, expected and difference images are in "
        << testOutputDir();
}
} // namespace

class Golden : public SceneTest {};

TEST_F(Golden, FirstFrameTenSecondsAndAMinute) {
    startScene(1000);
    frame();
    expectMatchesGolden("scene-first-frame", width, height);
    // Coarse steps keep the test quick; the path only depends on the sum of the steps and their draws.
    for (int ms = 33; ms < 10033; ms += 100)
        frame(100);
    expectMatchesGolden("scene-10s", width, height);
    for (int ms = 0; ms < 50000; ms += 500)
        frame(500);
    expectMatchesGolden("scene-60s", width, height);
}
