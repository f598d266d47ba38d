// An offscreen OpenGL context on OSMesa (real Mesa, software rendering), made current for a test.
#pragma once

#include <GL/osmesa.h>
#include <gtest/gtest.h>

#include <vector>

class OffscreenContext {
  public:
    // RGBA colour, 24 depth bits, 8 stencil bits.
    OffscreenContext(int width, int height);
    ~OffscreenContext();
    OffscreenContext(const OffscreenContext&) = delete;
    OffscreenContext& operator=(const OffscreenContext&) = delete;

    bool ok() const { return context != nullptr && current; }
    int width;
    int height;
    OSMesaContext context = nullptr;
    std::vector<unsigned char> buffer;
    bool current = false;
};

// One context per test, 64 x 64 unless the test asks for another size before SetUp.
class GlTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Recreates the context at a new size (the old one is released).
    void resize(int width, int height);

    int width = 64;
    int height = 64;
    OffscreenContext* gl = nullptr;
};

// glGetFloatv of a 4x4 matrix (column-major, as OpenGL stores it).
std::vector<float> readMatrix(GLenum which);
