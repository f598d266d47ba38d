// The kinds of procedural image a texture slot can be generated with, their names in the registry, and the
// rule that turns a computed channel value into a byte.
#pragma once

#include <GL/gl.h>

#include <cstdint>

class Texture;

// The value is what callers pass; 8 and anything above 12 have no enumerator.
enum TextureKind : std::int32_t {
    SPHERE = 0,
    NOTSPHERE = 1,
    GRADIENT = 2,
    SMOKE = 3,
    RING = 4,
    STAR = 5,
    SAND = 6,
    BLACK = 7,
    CHECK = 9,
    GRILLE = 10,
    X50 = 11, // a name without a pixel rule
    Y50 = 12, // a name without a pixel rule
};

// Ring radius in pixels; it does not scale with the image.
constexpr double RING_RADIUS = 58.0;
// Checker cell size in pixels.
constexpr std::int32_t CHECK_CELL = 225;

// The text the registry records for kind, or nullptr for kinds without a name (RING among them).
const char* textureKindName(TextureKind kind);
// Whether generate can make an image of this kind; kinds without a pixel rule are refused.
bool hasPixelRule(TextureKind kind);
// Bytes per pixel of the two formats the generators write (4 and 2); 0 for any other format, which is
// refused.
std::int32_t textureBytesPerPixel(GLenum format);

// Truncates toward zero and keeps the low 8 bits, so -1 gives 255 and 256 gives 0. Defined for any float:
// NaN gives 0, and so does any value of magnitude 2^31 or more, whose integer value is a multiple of 256.
std::uint8_t toChannelByte(float v);

// Writes the image of kind into image: slot.width x slot.height pixels of slot.format, row 0 first. Only
// for a kind with a pixel rule, one of the two formats and a size generate has accepted. SMOKE and SAND
// draw on the shared generator; SMOKE leaves the last blob's radius in slot.blobRadius.
void fillTextureImage(TextureKind kind, Texture& slot, std::uint8_t* image);
