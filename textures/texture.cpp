// Texture slots: binding with a one-comparison fast path, filters, the generation frame around the pixel
// rules, and the registry.
#include "textures/texture.h"

#include <GL/glu.h>

#include <cstring>
#include <vector>

Texture* textureRegistry[TEXTURE_REGISTRY_SIZE] = {};
char textureNames[TEXTURE_REGISTRY_SIZE][TEXTURE_NAME_SIZE] = {};
std::int32_t textureCount = 0;
GLuint lastBoundTexture = 0xFFFFFFFFu;
float textureEnvColor[4] = {1.0f, 1.0f, 1.0f, 1.0f};

Texture::Texture() {
    for (float& c : textureEnvColor)
        c = 1.0f;
    for (std::int32_t i = 0; i < TEXTURE_REGISTRY_SIZE; ++i) {
        textureRegistry[i] = nullptr;
        textureNames[i][0] = '\0';
    }
}

Texture::~Texture() {
    if (glName != 0) glDeleteTextures(1, &glName);
}

void Texture::bind() {
    if (glName == 0) glGenTextures(1, &glName);
    if (glName == lastBoundTexture) return;
    lastBoundTexture = glName;
    glBindTexture(GL_TEXTURE_2D, glName);
    if (wrapMode != 0) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLint>(wrapMode));
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLint>(wrapMode));
    }
    if (envMode != 0) {
        glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, static_cast<GLfloat>(envMode));
        if (envMode == GL_BLEND) glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, textureEnvColor);
    }
}

void Texture::applyFilters(bool mipmapped) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, mipmapped ? GL_NEAREST_MIPMAP_NEAREST : GL_LINEAR);
}

int Texture::generate(TextureKind kind, int newWidth, int newHeight, GLenum newFormat, bool mipmapped) {
    width = newWidth;
    height = newHeight;
    format = newFormat;
    // In 64 bits, so that no pair of sizes can wrap around into an accepted product.
    const std::int64_t pixels = static_cast<std::int64_t>(width) * static_cast<std::int64_t>(height);
    if (width < 1 || height < 1 || pixels > MAX_TEXTURE_PIXELS) return 1;
    const std::int32_t bytesPerPixel = textureBytesPerPixel(format);
    if (bytesPerPixel == 0 || !hasPixelRule(kind)) return 1;
    if (textureCount < 0 || textureCount >= TEXTURE_REGISTRY_SIZE) return 1;

    textureRegistry[textureCount] = this;
    registryIndex = textureCount;
    if (const char* name = textureKindName(kind)) {
        std::strncpy(textureNames[textureCount], name, TEXTURE_NAME_SIZE - 1);
        textureNames[textureCount][TEXTURE_NAME_SIZE - 1] = '\0';
    }

    std::vector<std::uint8_t> image(static_cast<size_t>(pixels) * static_cast<size_t>(bytesPerPixel));
    fillTextureImage(kind, *this, image.data());

    bind();
    applyFilters(mipmapped);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), width, height, 0, format, GL_UNSIGNED_BYTE,
                 image.data());
    // Four components whatever the format: level 0 is uploaded a second time here, with all smaller ones.
    if (mipmapped) gluBuild2DMipmaps(GL_TEXTURE_2D, 4, width, height, format, GL_UNSIGNED_BYTE, image.data());
    ++textureCount;
    return 0;
}

void releaseAllTextures() {
    for (std::int32_t i = 0; i < textureCount && i < TEXTURE_REGISTRY_SIZE; ++i) {
        Texture* slot = textureRegistry[i];
        if (slot != nullptr && slot->glName != 0) glDeleteTextures(1, &slot->glName);
    }
}
