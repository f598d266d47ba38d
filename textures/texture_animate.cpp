// The animated update: a generated slot's level 0 recomputed from white with switchable random offsets, a
// radial fade and darkened odd lines, and replaced in place. Meant to run per frame, so its buffers are
// fixed tables sized for the largest image generate accepts, and nothing is allocated.
#include "textures/texture.h"

#include <cmath>

#include "math/random.h"

namespace {
// Any accepted image has at most MAX_TEXTURE_PIXELS pixels, so also at most that many columns.
std::uint8_t animatedImage[static_cast<size_t>(MAX_TEXTURE_PIXELS) * 4u];
std::int32_t columnOffsets[MAX_TEXTURE_PIXELS];

// trunc(randRange(amplitude) - halfAmp): within +-2^31 for any 32-bit amplitude, so the conversion is
// defined.
std::int32_t randomOffset(int amplitude, int halfAmp) {
    return static_cast<std::int32_t>(randRange(static_cast<double>(amplitude)) - halfAmp);
}
} // namespace

void Texture::animate(int flags, int amplitude, int radius) {
    if (registryIndex < 0) return; // never generated: there is no image to replace
    const std::int32_t bytesPerPixel = textureBytesPerPixel(format);
    const std::int64_t pixels = static_cast<std::int64_t>(width) * static_cast<std::int64_t>(height);
    if (bytesPerPixel == 0 || width < 1 || height < 1 || pixels > MAX_TEXTURE_PIXELS) return;

    const int halfAmp = static_cast<int>(amplitude * 0.5);
    const int hw = static_cast<int>(width * 0.5);
    const int hh = static_cast<int>(height * 0.5);
    const double fadeRadius = radius < 1 ? 1.0 : static_cast<double>(radius);

    // All column offsets come before any other draw of the call.
    if (flags & ANIM_COLUMN_JITTER)
        for (int x = 0; x < width; ++x)
            columnOffsets[x] = randomOffset(amplitude, halfAmp);

    for (int y = 0; y < height; ++y) {
        const std::int32_t rowOffset = (flags & ANIM_ROW_JITTER) ? randomOffset(amplitude, halfAmp) : 0;
        const float fdy = static_cast<float>(y - hh);
        const float dy2 = fdy * fdy;
        for (int x = 0; x < width; ++x) {
            const float dx = static_cast<float>(x - hw);
            float v = 255.0f;
            if (flags & ANIM_COLUMN_JITTER) v = static_cast<float>(columnOffsets[x]) + v;
            if (flags & ANIM_ROW_JITTER) v = static_cast<float>(rowOffset) + v;
            if (flags & ANIM_PIXEL_NOISE)
                v = static_cast<float>(v + (randRange(static_cast<double>(amplitude)) - halfAmp));
            if (flags & ANIM_RADIAL_FADE) {
                const double q = std::sqrt(static_cast<double>(dx * dx + dy2)) / fadeRadius;
                float f = static_cast<float>(1.0 - q * q);
                if (f < 0.0f) f = 0.0f;
                v = v * f;
            }
            if ((flags & ANIM_ODD_COLUMNS) && (x & 1)) v = v - static_cast<float>(amplitude);
            if ((flags & ANIM_ODD_ROWS) && (y & 1)) v = v - static_cast<float>(amplitude);
            v = clampf(v, 0.0f, 255.0f);
            const std::uint8_t byte = toChannelByte(v);
            std::uint8_t* p = animatedImage +
                              (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) *
                                  static_cast<size_t>(bytesPerPixel);
            for (std::int32_t c = 0; c < bytesPerPixel; ++c)
                p[c] = byte;
        }
    }

    bind();
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, format, GL_UNSIGNED_BYTE, animatedImage);
}
