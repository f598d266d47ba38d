// RGBA images: read back from the current GL context, written as PNG, compared with a tolerance.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba; // top row first

    const std::uint8_t* at(int x, int y) const {
        return &rgba[(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4u];
    }
};

// glReadPixels of the whole viewport-sized area (width x height from 0, 0), flipped so row 0 is the top.
Image readPixels(int width, int height);
// GL row y (0 at the bottom) as it lies in the framebuffer: helper for tests that think in GL coordinates.
const std::uint8_t* glPixel(const Image& image, int x, int glY);

bool writePng(const std::string& path, const Image& image);
bool readPng(const std::string& path, Image& image);

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
