// RGBA images in memory and as PNG files (libpng): what the offscreen renderer writes and the image tests
// compare.
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

// glReadPixels of width x height from (0, 0) of the current context, flipped so row 0 is the top.
Image readPixels(int width, int height);
// Fills `image` (already sized) without allocating: for loops that read back every frame.
void readPixelsInto(Image& image);

bool writePng(const std::string& path, const Image& image);
bool readPng(const std::string& path, Image& image);
