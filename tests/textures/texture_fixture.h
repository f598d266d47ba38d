// Fixture for the texture tests: a fresh context with the registry and the bound-slot memory reset (each
// test's context starts its texture names at 1 again), and read-back of a slot's image from OpenGL.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <vector>

#include "tests/support/gl_context.h"
#include "textures/texture.h"

class TextureTest : public GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        resetRegistry();
    }

    static void resetRegistry() {
        textureCount = 0;
        lastBoundTexture = 0xFFFFFFFFu;
        for (int i = 0; i < TEXTURE_REGISTRY_SIZE; ++i) {
            textureRegistry[i] = nullptr;
            textureNames[i][0] = '\0';
        }
    }

    // The bytes of one mipmap level as OpenGL holds them (4 per pixel, or 2 for GL_LUMINANCE_ALPHA), read
    // without disturbing the current binding.
    static std::vector<std::uint8_t> readLevel(const Texture& slot, int level = 0, GLenum format = 0) {
        if (format == 0) format = slot.format;
        GLint previous = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
        glBindTexture(GL_TEXTURE_2D, slot.glName);
        GLint w = 0, h = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &h);
        const size_t bytes = format == GL_LUMINANCE_ALPHA ? 2u : 4u;
        std::vector<std::uint8_t> data(static_cast<size_t>(w) * static_cast<size_t>(h) * bytes);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        if (!data.empty()) glGetTexImage(GL_TEXTURE_2D, level, format, GL_UNSIGNED_BYTE, data.data());
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
        return data;
    }
};

// RGBA pixel (x, y) of an image read back with readLevel; row 0 is the first row generated.
inline const std::uint8_t* rgbaAt(const std::vector<std::uint8_t>& image, int width, int x, int y) {
    return &image[(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4u];
}
