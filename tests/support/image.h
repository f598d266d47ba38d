// RGBA images: read back from the current GL context, written as PNG, compared with a tolerance.
#pragma once

#include <string>

#include "tools/png_image.h"

// GL row y (0 at the bottom) as it lies in the framebuffer: helper for tests that think in GL coordinates.
const std::uint8_t* glPixel(const Image& image, int x, int glY);

// Folder for images a test writes (actual/expected/difference), from NIGHTGRID_TEST_OUTPUT or /tmp.
std::string testOutputDir();

struct ImageComparison {
    bool sameSize = false;
    int maxChannelDifference = 0;
    // Pixels where any channel differs by more than the tolerance.
    long differingPixels = 0;
};

// Compares two images; pixels whose channels differ by more than `tolerance` count as differing. When more
// than `allowedPixels` differ, writes NAME-actual.png, NAME-expected.png and NAME-difference.png to the test
// output folder and returns false.
bool compareImages(const Image& actual, const Image& expected, int tolerance, long allowedPixels,
                   const std::string& name, ImageComparison* result = nullptr);
