// Pixel read-back, PNG files and tolerant image comparison.
#include "tests/support/image.h"

#include <GL/gl.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

Image readPixels(int width, int height) {
    Image image;
    image.width = width;
    image.height = height;
    const size_t row = static_cast<size_t>(width) * 4u;
    std::vector<std::uint8_t> raw(row * static_cast<size_t>(height));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, raw.data());
    image.rgba.resize(raw.size());
    for (int y = 0; y < height; ++y) {
        const size_t src = static_cast<size_t>(height - 1 - y) * row;
        std::copy(raw.begin() + static_cast<long>(src), raw.begin() + static_cast<long>(src + row),
                  image.rgba.begin() + static_cast<long>(static_cast<size_t>(y) * row));
    }
    return image;
}

const std::uint8_t* glPixel(const Image& image, int x, int glY) { return image.at(x, image.height - 1 - glY); }

bool writePng(const std::string& path, const Image& image) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y) png_write_row(png, image.at(0, y));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

bool readPng(const std::string& path, Image& image) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) return false;
    png.format = PNG_FORMAT_RGBA;
    image.width = static_cast<int>(png.width);
    image.height = static_cast<int>(png.height);
    image.rgba.assign(PNG_IMAGE_SIZE(png), 0);
    const bool ok = png_image_finish_read(&png, nullptr, image.rgba.data(), 0, nullptr) != 0;
    png_image_free(&png);
    return ok;
}

std::string testOutputDir() {
    const char* dir = std::getenv("NIGHTGRID_TEST_OUTPUT");
    std::string path = dir != nullptr && dir[0] != '\0' ? dir : "/tmp/nightgrid-test-output";
    mkdir(path.c_str(), 0755);
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
            const std::uint8_t shade = static_cast<std::uint8_t>(worst > tolerance ? 255 : worst * 4 > 255 ? 255 : worst * 4);
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
