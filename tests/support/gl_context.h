// An offscreen OpenGL context, made current for a test: OSMesa on Linux (real Mesa, software rendering), a
// DIB section with a WGL context on Windows (gl_context_wgl.cpp; Mesa again when the tests run under Wine).
#pragma once

#ifdef _WIN32
#include <windows.h>

#include <GL/gl.h>
#else
#include <GL/osmesa.h>
#endif
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
#ifdef _WIN32
    HDC deviceContext = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previousBitmap = nullptr;
    HGLRC context = nullptr;
#else
    OSMesaContext context = nullptr;
    std::vector<unsigned char> buffer;
#endif
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
