// Texture slots: binding and its fast path, the generation frame, refusals and the registry, all checked
// against the state of a real Mesa context.
#include "textures/texture.h"

#include <GL/gl.h>
#include <GL/glext.h> // GL_BGRA: Windows' gl.h stops at OpenGL 1.1
#include <gtest/gtest.h>

#include <cstring>

#include "tests/textures/texture_fixture.h"

namespace {

GLint integer(GLenum which) {
    GLint value = 0;
    glGetIntegerv(which, &value);
    return value;
}

GLint parameterOf(GLuint name, GLenum which, int level = -1) {
    const GLint previous = integer(GL_TEXTURE_BINDING_2D);
    glBindTexture(GL_TEXTURE_2D, name);
    GLint value = 0;
    if (level < 0)
        glGetTexParameteriv(GL_TEXTURE_2D, which, &value);
    else
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, which, &value);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
    return value;
}

GLint envMode() {
    GLint mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    return mode;
}

TEST_F(TextureTest, ConstructionClearsTheRegistryAndEnvironmentColourOnly) {
    Texture a;
    textureRegistry[3] = &a;
    std::strcpy(textureNames[3], "OLD");
    textureEnvColor[2] = 0.5f;
    textureCount = 4;
    lastBoundTexture = 7;
    Texture b;
    EXPECT_EQ(textureRegistry[3], nullptr);
    EXPECT_EQ(textureNames[3][0], '\0');
    EXPECT_EQ(textureEnvColor[2], 1.0f);
    EXPECT_EQ(textureCount, 4);
    EXPECT_EQ(lastBoundTexture, 7u);
    EXPECT_EQ(b.registryIndex, -1);
    EXPECT_EQ(b.glName, 0u);
}

TEST_F(TextureTest, BindingTheBoundSlotAgainMakesNoCall) {
    Texture slot;
    slot.bind();
    ASSERT_NE(slot.glName, 0u);
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(slot.glName));
    EXPECT_EQ(lastBoundTexture, slot.glName);
    EXPECT_EQ(parameterOf(slot.glName, GL_TEXTURE_WIDTH, 0), 0); // an object without an image
    // Behind bind's back: another object bound and another environment mode. The second bind restores
    // neither, since it believes the slot is still bound.
    GLuint other = 0;
    glGenTextures(1, &other);
    glBindTexture(GL_TEXTURE_2D, other);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    slot.bind();
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(other));
    EXPECT_EQ(envMode(), GL_REPLACE);
}

TEST_F(TextureTest, EveryChangeOfSlotSendsWrapAndEnvironmentAgain) {
    Texture a, b;
    a.wrapMode = GL_CLAMP;
    b.envMode = GL_REPLACE;
    a.bind();
    EXPECT_EQ(parameterOf(a.glName, GL_TEXTURE_WRAP_S), GL_CLAMP);
    EXPECT_EQ(parameterOf(a.glName, GL_TEXTURE_WRAP_T), GL_CLAMP);
    EXPECT_EQ(envMode(), GL_MODULATE);
    b.bind();
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(b.glName));
    EXPECT_EQ(envMode(), GL_REPLACE);
    // Spoil a's wrap mode behind its back; binding a again sends wrap and environment once more.
    glBindTexture(GL_TEXTURE_2D, a.glName);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glBindTexture(GL_TEXTURE_2D, b.glName);
    a.bind();
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(a.glName));
    EXPECT_EQ(parameterOf(a.glName, GL_TEXTURE_WRAP_S), GL_CLAMP);
    EXPECT_EQ(parameterOf(a.glName, GL_TEXTURE_WRAP_T), GL_CLAMP);
    EXPECT_EQ(envMode(), GL_MODULATE);
}

TEST_F(TextureTest, EnvironmentColourGoesOutOnlyWithBlendAndZeroModesSendNothing) {
    const float black[4] = {0, 0, 0, 0};
    glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, black);
    const float wanted[4] = {0.25f, 0.5f, 0.75f, 1.0f};
    Texture modulate, blend, bare;
    std::memcpy(textureEnvColor, wanted, sizeof wanted);
    float colour[4] = {};
    modulate.bind();
    glGetTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, colour);
    EXPECT_EQ(colour[0], 0.0f);
    blend.envMode = GL_BLEND;
    blend.bind();
    EXPECT_EQ(envMode(), GL_BLEND);
    glGetTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, colour);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(colour[i], wanted[i]);
    // Wrap and environment 0: only the binding changes.
    glGenTextures(1, &bare.glName);
    glBindTexture(GL_TEXTURE_2D, bare.glName);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glBindTexture(GL_TEXTURE_2D, blend.glName);
    bare.wrapMode = 0;
    bare.envMode = 0;
    bare.bind();
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(bare.glName));
    EXPECT_EQ(parameterOf(bare.glName, GL_TEXTURE_WRAP_S), GL_CLAMP);
    EXPECT_EQ(envMode(), GL_BLEND);
}

TEST_F(TextureTest, GenerateUploadsRegistersAndBuildsMipmapsOnRequest) {
    Texture mipmapped, flat;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    EXPECT_EQ(mipmapped.generate(SPHERE, 256, 256, GL_RGBA, true), 0);
    EXPECT_EQ(integer(GL_UNPACK_ALIGNMENT), 1);
    EXPECT_EQ(flat.generate(STAR, 64, 32, GL_RGBA, false), 0);
    EXPECT_EQ(textureCount, 2);
    EXPECT_EQ(mipmapped.registryIndex, 0);
    EXPECT_EQ(flat.registryIndex, 1);
    EXPECT_EQ(textureRegistry[0], &mipmapped);
    EXPECT_EQ(textureRegistry[1], &flat);
    EXPECT_STREQ(textureNames[0], "SPHERE");
    EXPECT_STREQ(textureNames[1], "STAR");
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(flat.glName)); // left bound
    EXPECT_EQ(parameterOf(flat.glName, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(parameterOf(flat.glName, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(parameterOf(flat.glName, GL_TEXTURE_WIDTH, 0), 64);
    EXPECT_EQ(parameterOf(flat.glName, GL_TEXTURE_WIDTH, 1), 0);
    EXPECT_EQ(parameterOf(mipmapped.glName, GL_TEXTURE_MIN_FILTER), GL_NEAREST_MIPMAP_NEAREST);
    EXPECT_EQ(parameterOf(mipmapped.glName, GL_TEXTURE_WIDTH, 1), 128);
    EXPECT_EQ(parameterOf(mipmapped.glName, GL_TEXTURE_WIDTH, 8), 1);
}

TEST_F(TextureTest, RefusedCallsKeepTheFieldsButRegisterAndCallNothing) {
    Texture slot;
    EXPECT_EQ(slot.generate(SPHERE, 257, 256, GL_RGBA, true), 1);
    EXPECT_EQ(slot.width, 257);
    EXPECT_EQ(slot.height, 256);
    // Products that wrap around in 32 bits, sizes below 1 (whose product can still look small), kinds
    // without a pixel rule, formats the generators do not write.
    const int sizes[][2] = {{65536, 65536}, {65537, 65535}, {0, 100}, {100, 0}, {-256, -256}, {1, 65537}};
    for (const auto& size : sizes) {
        EXPECT_EQ(slot.generate(GRADIENT, size[0], size[1], GL_LUMINANCE_ALPHA, false), 1) << size[0];
        EXPECT_EQ(slot.width, size[0]);
        EXPECT_EQ(slot.format, static_cast<GLenum>(GL_LUMINANCE_ALPHA));
    }
    for (const int kind : {8, 11, 12, 13, 1000, -1})
        EXPECT_EQ(slot.generate(static_cast<TextureKind>(kind), 16, 16, GL_RGBA, false), 1) << kind;
    for (const GLenum format : {GL_RGB, GL_LUMINANCE, GL_ALPHA, GL_BGRA})
        EXPECT_EQ(slot.generate(SPHERE, 16, 16, format, false), 1) << format;
    EXPECT_EQ(textureCount, 0);
    EXPECT_EQ(slot.registryIndex, -1);
    EXPECT_EQ(textureRegistry[0], nullptr);
    EXPECT_EQ(textureNames[0][0], '\0');                          // not even the names of X50 and Y50
    EXPECT_EQ(slot.glName, 0u);                                   // never bound
    EXPECT_EQ(slot.generate(BLACK, 256, 256, GL_RGBA, false), 0); // exactly the limit
}

TEST_F(TextureTest, RegistryRecordsEveryGenerationInOrderUpToThirtyOne) {
    // Built first: every construction clears the registry.
    Texture slots[TEXTURE_REGISTRY_SIZE];
    Texture extra;
    ASSERT_EQ(slots[0].generate(RING, 8, 8, GL_RGBA, false), 0);
    const GLuint name = slots[0].glName;
    ASSERT_EQ(slots[0].generate(CHECK, 32, 8, GL_RGBA, false), 0);
    EXPECT_EQ(textureNames[0][0], '\0'); // RING has no name but takes its position
    EXPECT_STREQ(textureNames[1], "CHECK");
    EXPECT_EQ(textureRegistry[1], &slots[0]);
    EXPECT_EQ(slots[0].registryIndex, 1);
    EXPECT_EQ(slots[0].glName, name); // the same object, with the new image
    EXPECT_EQ(readLevel(slots[0]).size(), 32u * 8u * 4u);
    for (int i = 1; i < TEXTURE_REGISTRY_SIZE - 1; ++i)
        ASSERT_EQ(slots[i].generate(BLACK, 1, 1, GL_RGBA, false), 0);
    EXPECT_EQ(textureCount, TEXTURE_REGISTRY_SIZE);
    EXPECT_EQ(slots[29].registryIndex, 30);
    // The 32nd is refused, also for a slot registered before.
    EXPECT_EQ(extra.generate(SPHERE, 4, 4, GL_RGBA, false), 1);
    EXPECT_EQ(extra.registryIndex, -1);
    EXPECT_EQ(extra.glName, 0u);
    EXPECT_EQ(slots[1].generate(SPHERE, 4, 4, GL_RGBA, false), 1);
    EXPECT_EQ(slots[1].registryIndex, 2);
    EXPECT_EQ(textureCount, TEXTURE_REGISTRY_SIZE);
}

TEST_F(TextureTest, ReleaseAndDestructorDeleteTheObjects) {
    Texture a, b, unregistered;
    ASSERT_EQ(a.generate(SPHERE, 8, 8, GL_RGBA, false), 0);
    ASSERT_EQ(b.generate(STAR, 8, 8, GL_RGBA, false), 0);
    unregistered.bind();
    releaseAllTextures();
    EXPECT_FALSE(glIsTexture(a.glName));
    EXPECT_FALSE(glIsTexture(b.glName));
    EXPECT_TRUE(glIsTexture(unregistered.glName));
    // Nothing is cleared.
    EXPECT_NE(a.glName, 0u);
    EXPECT_EQ(textureCount, 2);
    EXPECT_EQ(textureRegistry[1], &b);
    EXPECT_STREQ(textureNames[1], "STAR");
    GLuint name = 0;
    {
        Texture scoped;
        scoped.bind();
        name = scoped.glName;
    }
    EXPECT_FALSE(glIsTexture(name));
}

} // namespace
