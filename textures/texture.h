// One OpenGL texture slot with the parameters it is created, bound and filled with, and the process-wide
// registry of generated slots. The scene owns ten slots (textureSlots, with the other scene globals).
#pragma once

#include <GL/gl.h>

#include <cstdint>

#include "textures/texture_kind.h"

// Largest width x height generate accepts: 256 x 256 exactly fits.
constexpr std::int32_t MAX_TEXTURE_PIXELS = 65536;
constexpr std::int32_t TEXTURE_REGISTRY_SIZE = 31;
constexpr std::int32_t TEXTURE_NAME_SIZE = 80;

// Flags of animate, combined by bitwise or.
constexpr std::int32_t ANIM_COLUMN_JITTER = 1;
constexpr std::int32_t ANIM_ROW_JITTER = 2;
constexpr std::int32_t ANIM_PIXEL_NOISE = 4;
constexpr std::int32_t ANIM_RADIAL_FADE = 8;
constexpr std::int32_t ANIM_ODD_COLUMNS = 16;
constexpr std::int32_t ANIM_ODD_ROWS = 32;

class Texture {
  public:
    GLuint glName = 0;            // created by the first bind; 0 until then
    GLenum format = GL_RGBA;      // pixel format, also the internal format
    GLenum wrapMode = GL_REPEAT;  // sent on S and T at bind; 0 sends none
    GLenum envMode = GL_MODULATE; // sent at bind; 0 sends none
    std::int32_t width = 128;
    std::int32_t height = 128;
    std::int32_t blobCount = 100;    // blobs summed by SMOKE
    std::int32_t blobRadius = 12;    // SMOKE leaves its last blob's radius here
    std::int32_t registryIndex = -1; // registry position of the latest generation; -1 before any

    // Clears the whole registry and resets textureEnvColor to white; no OpenGL call, so the slots can be
    // built before any context exists.
    Texture();
    // Deletes the OpenGL object; after exit no context is current and the request has no effect.
    virtual ~Texture();
    // Two slots sharing one OpenGL name would delete it twice.
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // Binds the slot and sends its wrap and environment settings; a slot already bound costs one comparison
    // and no OpenGL call. Does not enable texturing.
    void bind();
    // Unpack alignment 1, linear magnification, and nearest-mipmap-nearest or linear minification.
    void applyFilters(bool mipmapped);
    // Makes the image of kind, registers the slot and uploads the image (with a mipmap chain when asked).
    // Returns 0, or 1 when refused: width or height below 1, more than MAX_TEXTURE_PIXELS pixels, a kind
    // without a pixel rule, a format other than GL_RGBA or GL_LUMINANCE_ALPHA, or a full registry. A refused
    // call still stores width, height and format, but registers nothing and makes no OpenGL call.
    int generate(TextureKind kind, int width, int height, GLenum format, bool mipmapped);
    // Recomputes level 0 from white with the ANIM_ effects in flags and replaces it in place. Does nothing
    // on a slot that was never generated or whose fields no longer describe an image generate accepts.
    void animate(int flags, int amplitude, int radius);
};

// The scene's texture slots, defined with the other scene globals; slots 0 to 8 hold the nine generated
// images, slot 9 stays empty.
constexpr std::int32_t TEXTURE_SLOT_COUNT = 10;
extern Texture textureSlots[TEXTURE_SLOT_COUNT];

// Generated slots in generation order, with the names of their kinds.
extern Texture* textureRegistry[TEXTURE_REGISTRY_SIZE];
extern char textureNames[TEXTURE_REGISTRY_SIZE][TEXTURE_NAME_SIZE];
// Successful generations since process start: the next registry position.
extern std::int32_t textureCount;
// glName of the slot bound last through bind; all bits set before the first.
extern GLuint lastBoundTexture;
// GL_TEXTURE_ENV_COLOR sent when a bound slot's envMode is GL_BLEND.
extern float textureEnvColor[4];

// Deletes the OpenGL object of every registered slot; clears nothing. Nothing in the system calls it.
void releaseAllTextures();
