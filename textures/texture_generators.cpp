// The pixel rules of the procedural images. Channel values are computed as floats and turned into bytes by
// toChannelByte, wrap-around included: GRADIENT and GRILLE rely on it past their middle row or column, and
// CHECK on it for its two nearly black bytes.
#include "textures/texture.h"
#include "textures/texture_kind.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "math/random.h"

namespace {

struct Channels {
    float r;
    float g;
    float b;
    float a;
};

void storePixel(std::uint8_t* image, size_t index, GLenum format, const Channels& c) {
    if (format == GL_RGBA) {
        std::uint8_t* p = image + index * 4u;
        p[0] = toChannelByte(c.r);
        p[1] = toChannelByte(c.g);
        p[2] = toChannelByte(c.b);
        p[3] = toChannelByte(c.a);
    } else if (format == GL_LUMINANCE_ALPHA) {
        std::uint8_t* p = image + index * 2u;
        p[0] = toChannelByte(c.a);
        p[1] = p[0];
    }
}

Channels grey(float a) {
    return {a, a, a, a};
}

// (16 - sqrt(2 i)) x 15: 240 at 0, 0 at 127 and 128, negative (and wrapped by the byte rule) beyond.
float rootRamp(int i) {
    return static_cast<float>((16.0 - std::sqrt(2.0 * i)) * 15.0);
}

// One pixel of the kinds that share the common frame. hwDiv and hhDiv are the half sizes floored at 1, so
// that a one-pixel-wide image divides by 1 instead of 0.
Channels framePixel(TextureKind kind, int x, int y, int dx, int dy, int hwDiv, int hhDiv) {
    const float fx = static_cast<float>(dx);
    const float fy = static_cast<float>(dy);
    switch (kind) {
    case SPHERE:
    case NOTSPHERE: {
        float v = static_cast<float>(std::sqrt(static_cast<double>(fx * fx + fy * fy)) / hwDiv);
        if (v > 1.0f) v = 1.0f;
        v = v * v;
        return grey(kind == SPHERE ? (1.0f - v) * 255.0f : v * 255.0f);
    }
    case GRADIENT:
        return grey(rootRamp(y));
    case RING: {
        const std::int64_t squares = static_cast<std::int64_t>(dx) * dx + static_cast<std::int64_t>(dy) * dy;
        float v = static_cast<float>(std::sqrt(static_cast<double>(squares)) / RING_RADIUS);
        if (v > 1.0f) v = static_cast<float>(9.0 - 8.0 * v);
        return grey(v < 0.0f ? 0.0f : v * 255.0f);
    }
    case STAR: {
        const float u = static_cast<float>((hwDiv - std::fabs(static_cast<double>(fx))) / hwDiv);
        const float w = static_cast<float>((hhDiv - std::fabs(static_cast<double>(fy))) / hhDiv);
        float p = u * w;
        if (p < 0.0f)
            p = 0.0f;
        else if (p > 1.0f)
            p = 1.0f;
        return grey(p * 255.0f);
    }
    case SAND: {
        const float s = static_cast<float>(randRange(1.0));
        if (s < 0.001) return {0.0f, 0.0f, 0.0f, 255.0f};
        if (s < 0.002) return {255.0f, 255.0f, 255.0f, 255.0f};
        const double t = randRange(127.0) + 127.0;
        const float r = static_cast<float>(t);
        // Green from the untruncated draw, blue from the stored red; alpha follows red, not 255.
        return {r, static_cast<float>(t * 0.8), static_cast<float>(r * 0.6), r};
    }
    case BLACK:
        return {0.0f, 0.0f, 0.0f, 255.0f};
    case CHECK: {
        const int px = (x / CHECK_CELL) & 1;
        const int py = (y / CHECK_CELL) & 1;
        // 1 and -254: after the byte rule the cells are 1 and 2, nearly black and nearly transparent.
        return grey(static_cast<float>(1 - (px ^ py) * 255));
    }
    case GRILLE:
        return grey(rootRamp(x));
    default:
        return grey(0.0f);
    }
}

// Sum of blobCount soft discs (at least one), each of radius at least 1, normalised so the brightest cell
// comes out at 255 or 254. The grid has one cell per pixel, whatever the width.
void fillSmoke(Texture& slot, std::uint8_t* image) {
    const int w = slot.width;
    const int h = slot.height;
    const size_t cells = static_cast<size_t>(w) * static_cast<size_t>(h);
    std::vector<float> grid(cells);
    float peak = -9999.0f;
    const int blobs = slot.blobCount < 1 ? 1 : slot.blobCount;
    for (int k = 0; k < blobs; ++k) {
        slot.blobRadius = static_cast<std::int32_t>(randRange(w * 0.24) + w * 0.04);
        // Below 25 pixels the radius can truncate to 0, and it is a divisor.
        if (slot.blobRadius < 1) slot.blobRadius = 1;
        const int cx = static_cast<int>(randGauss(static_cast<float>(w * 0.17)) + w * 0.5);
        const int cy = static_cast<int>(randGauss(static_cast<float>(h * 0.17)) + h * 0.5);
        for (int y = 0; y < h; ++y) {
            const std::int64_t ddy = static_cast<std::int64_t>(y) - cy;
            for (int x = 0; x < w; ++x) {
                float& cell = grid[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)];
                if (k == 0) cell = 0.0f;
                const std::int64_t ddx = static_cast<std::int64_t>(x) - cx;
                const double d = std::sqrt(static_cast<double>(ddx * ddx + ddy * ddy));
                float v = static_cast<float>(d / slot.blobRadius);
                if (v > 1.0f) v = 1.0f;
                cell += 1.0f - v;
                if (cell > peak) peak = cell;
            }
        }
    }
    // Every blob can miss a tiny image; then all cells are 0 and the image stays black.
    const float scale = peak > 0.0f ? static_cast<float>(255.0 / peak) : 0.0f;
    for (size_t i = 0; i < cells; ++i)
        storePixel(image, i, slot.format, grey(scale * grid[i]));
}

} // namespace

const char* textureKindName(TextureKind kind) {
    switch (kind) {
    case SPHERE:
        return "SPHERE";
    case NOTSPHERE:
        return "NOTSPHERE";
    case GRADIENT:
        return "GRADIENT";
    case SMOKE:
        return "SMOKE";
    case STAR:
        return "STAR";
    case SAND:
        return "SAND";
    case CHECK:
        return "CHECK";
    case GRILLE:
        return "GRILLE";
    case X50:
        return "X50";
    case Y50:
        return "Y50";
    default:
        return nullptr;
    }
}

bool hasPixelRule(TextureKind kind) {
    switch (kind) {
    case SPHERE:
    case NOTSPHERE:
    case GRADIENT:
    case SMOKE:
    case RING:
    case STAR:
    case SAND:
    case BLACK:
    case CHECK:
    case GRILLE:
        return true;
    default:
        return false;
    }
}

std::int32_t textureBytesPerPixel(GLenum format) {
    if (format == GL_RGBA) return 4;
    if (format == GL_LUMINANCE_ALPHA) return 2;
    return 0;
}

std::uint8_t toChannelByte(float v) {
    if (!(v > -2147483648.0f && v < 2147483648.0f)) return 0;
    return static_cast<std::uint8_t>(static_cast<std::uint32_t>(static_cast<std::int32_t>(v)) & 0xFFu);
}

void fillTextureImage(TextureKind kind, Texture& slot, std::uint8_t* image) {
    if (kind == SMOKE) {
        fillSmoke(slot, image);
        return;
    }
    const int w = slot.width;
    const int h = slot.height;
    const int hw = static_cast<int>(w * 0.5);
    const int hh = static_cast<int>(h * 0.5);
    const int hwDiv = hw < 1 ? 1 : hw;
    const int hhDiv = hh < 1 ? 1 : hh;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const size_t index = static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x);
            storePixel(image, index, slot.format, framePixel(kind, x, y, x - hw, y - hh, hwDiv, hhDiv));
        }
    }
}
