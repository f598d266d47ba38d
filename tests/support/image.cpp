// Pixel read-back, PNG files and tolerant image comparison.
#include "tests/support/image.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

const std::uint8_t* glPixel(const Image& image, int x, int glY) {
    return image.at(x, image.height - 1 - glY);
}

std::string testOutputDir() {
    const char* dir = std::getenv("NIGHTGRID_TEST_OUTPUT");
    #ifdef NIGHTGRID_TEST_OUTPUT_DIR
    const char* fallback = NIGHTGRID_TEST_OUTPUT_DIR;
#else
    const char* fallback = "/tmp/nightgrid-test-output";
#endif
    std::string path = dir != nullptr && dir[0] != '\0' ? dir : fallback;
    std::error_code ignored; // a folder that cannot be made shows up when the first image is written
    std::filesystem::create_directories(path, ignored);
    return path;
}

bool compareImages(const Image& actual, const Image& expected, int tolerance, long allowedPixels,
                   const std::string& name, ImageComparison* result) {
    ImageComparison c;
    c.sameSize = actual.width == expected.width && actual.height == expected.height;
    Image difference;
    if (c.sameSize) {
        difference = actual;
        for (size_t i = 0; i < actual.rgba.size(); i += 4) {
            int worst = 0;
            for (size_t k = 0; k < 4; ++k) {
                const int d = std::abs(int(actual.rgba[i + k]) - int(expected.rgba[i + k]));
                if (d > worst) worst = d;
            }
            if (worst > c.maxChannelDifference) c.maxChannelDifference = worst;
            if (worst > tolerance) ++c.differingPixels;
            const std::uint8_t shade = static_cast<std::uint8_t>(worst > tolerance ? 255
                                                                 : worst * 4 > 255 ? 255
                                                                                   : worst * 4);
            difference.rgba[i] = shade;
            difference.rgba[i + 1] = worst > tolerance ? 0 : shade;
            difference.rgba[i + 2] = worst > tolerance ? 0 : shade;
            difference.rgba[i + 3] = 255;
        }
    }
    if (result != nullptr) *result = c;
    const bool same = c.sameSize && c.differingPixels <= allowedPixels;
    if (!same) {
        const std::string base = testOutputDir() + "/" + name;
        writePng(base + "-actual.png", actual);
        if (expected.width > 0) writePng(base + "-expected.png", expected);
        if (c.sameSize) writePng(base + "-difference.png", difference);
    }
    return same;
}
