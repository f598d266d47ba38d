// Pixel read-back and PNG files.
#include "tools/png_image.h"

#include <GL/gl.h>
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>

Image readPixels(int width, int height) {
    Image image;
    image.width = width;
    image.height = height;
    image.rgba.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4u);
    readPixelsInto(image);
    return image;
}

void readPixelsInto(Image& image) {
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, image.width, image.height, GL_RGBA, GL_UNSIGNED_BYTE, image.rgba.data());
    // OpenGL gives the bottom row first; swap rows in place so row 0 is the top.
    const size_t row = static_cast<size_t>(image.width) * 4u;
    for (int y = 0; y < image.height / 2; ++y) {
        std::uint8_t* a = &image.rgba[static_cast<size_t>(y) * row];
        std::uint8_t* b = &image.rgba[static_cast<size_t>(image.height - 1 - y) * row];
        std::swap_ranges(a, a + row, b);
    }
}

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
                 PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y)
        png_write_row(png, image.at(0, y));
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
