// The rendering context on the offscreen surface: the pixel-format request byte for byte, the context that
// createRenderContext makes current with the default render state read back from Mesa, double buffering,
// and the release that leaves no context current.
#include "tests/shell/shell_test_support.h"

#include "shell/platform/offscreen_surface.h"
#include "shell/render_context.h"
#include "shell/render_state.h"

#include <GL/osmesa.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

LRESULT CALLBACK plainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

class RenderContext : public ::testing::Test {
  protected:
    void SetUp() override {
        resetShell();
        WNDCLASSA windowClass = {};
        windowClass.style = CS_OWNDC;
        windowClass.lpfnWndProc = plainWindowProc;
        windowClass.lpszClassName = "RenderContextTest";
        ASSERT_NE(RegisterClassA(&windowClass), 0);
        window = CreateWindowExA(0, "RenderContextTest", "", WS_POPUP | WS_VISIBLE, 0, 0, 32, 24, nullptr,
                                 nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override { resetShell(); }

    HWND window = nullptr;
};

TEST_F(RenderContext, PixelFormatRequestIsTheFortyByteRecord) {
    // nSize, nVersion, dwFlags, iPixelType, cColorBits, 13 zero bytes, cDepthBits, 4 zero bytes, 3 masks.
    const unsigned char expected[40] = {40, 0, 1, 0,  0x25, 0, 0, 0, 0, 24, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                        0,  0, 0, 16, 0,    0, 0, 0, 0, 0,  0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(sizeof(pixelFormat), 40u);
    unsigned char actual[40];
    std::memcpy(actual, &pixelFormat, sizeof(actual));
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(actual[i], expected[i]) << "byte " << i;
}

TEST_F(RenderContext, CreatesADoubleBufferedRgbaContextWithTheDefaultState) {
    HDC dc = nullptr;
    HGLRC rc = nullptr;
    EXPECT_TRUE(createRenderContext(window, dc, rc));
    ASSERT_NE(dc, nullptr);
    ASSERT_NE(rc, nullptr);
    EXPECT_EQ(wglGetCurrentContext(), rc);
    EXPECT_EQ(wglGetCurrentDC(), dc);
    EXPECT_NE(OSMesaGetCurrentContext(), nullptr);

    PIXELFORMATDESCRIPTOR chosen = {};
    ASSERT_GT(DescribePixelFormat(dc, GetPixelFormat(dc), sizeof(chosen), &chosen), 0);
    EXPECT_NE(chosen.dwFlags & PFD_DOUBLEBUFFER, 0u);
    EXPECT_NE(chosen.dwFlags & PFD_SUPPORT_OPENGL, 0u);
    EXPECT_EQ(chosen.iPixelType, PFD_TYPE_RGBA);
    EXPECT_GE(chosen.cColorBits, 24);
    EXPECT_GE(chosen.cDepthBits, 16);

    GLint bits[4] = {};
    glGetIntegerv(GL_RED_BITS, &bits[0]);
    glGetIntegerv(GL_GREEN_BITS, &bits[1]);
    glGetIntegerv(GL_BLUE_BITS, &bits[2]);
    glGetIntegerv(GL_DEPTH_BITS, &bits[3]);
    EXPECT_GE(bits[0] + bits[1] + bits[2], 24);
    EXPECT_GE(bits[3], 16);
    GLboolean rgba = GL_FALSE;
    glGetBooleanv(GL_RGBA_MODE, &rgba);
    EXPECT_TRUE(rgba);

    setDefaultRenderState();
    for (GLenum off : {GL_DEPTH_TEST, GL_BLEND, GL_LIGHTING, GL_TEXTURE_2D, GL_FOG, GL_CULL_FACE, GL_DITHER})
        EXPECT_FALSE(glIsEnabled(off)) << "capability 0x" << std::hex << off;
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
    GLint value = 0;
    glGetIntegerv(GL_SHADE_MODEL, &value);
    EXPECT_EQ(value, GL_SMOOTH);
    glGetIntegerv(GL_COLOR_MATERIAL_FACE, &value);
    EXPECT_EQ(value, GL_FRONT_AND_BACK);
    glGetIntegerv(GL_COLOR_MATERIAL_PARAMETER, &value);
    EXPECT_EQ(value, GL_AMBIENT_AND_DIFFUSE);
    glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &value);
    EXPECT_EQ(value, GL_NICEST);
    glGetIntegerv(GL_LIGHT_MODEL_LOCAL_VIEWER, &value);
    EXPECT_EQ(value, 1);
    GLint polygonMode[2] = {};
    glGetIntegerv(GL_POLYGON_MODE, polygonMode);
    EXPECT_EQ(polygonMode[0], GL_FILL);
    EXPECT_EQ(polygonMode[1], GL_FILL);
    GLfloat size = 0.0f;
    glGetFloatv(GL_LINE_WIDTH, &size);
    EXPECT_EQ(size, 1.0f);
    glGetFloatv(GL_POINT_SIZE, &size);
    EXPECT_EQ(size, 1.0f);

    // Every colour becomes the ambient and diffuse material of both faces.
    glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
    for (GLenum face : {GL_FRONT, GL_BACK}) {
        GLfloat shininess = 0.0f;
        glGetMaterialfv(face, GL_SHININESS, &shininess);
        EXPECT_EQ(shininess, 30.0f);
        for (GLenum parameter : {GL_AMBIENT, GL_DIFFUSE}) {
            GLfloat material[4] = {};
            glGetMaterialfv(face, parameter, material);
            EXPECT_FLOAT_EQ(material[0], 0.25f);
            EXPECT_FLOAT_EQ(material[1], 0.5f);
            EXPECT_FLOAT_EQ(material[2], 0.75f);
        }
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    releaseRenderContext(window, dc, rc);
}

TEST_F(RenderContext, DrawingShowsOnlyAfterTheSwapAndNothingDrawsAfterRelease) {
    HDC dc = nullptr;
    HGLRC rc = nullptr;
    createRenderContext(window, dc, rc);
    int width = 0;
    int height = 0;
    auto frontPixel = [&](int x, int y) {
        std::vector<unsigned char> image = offscreenFrontImage(window, &width, &height);
        return std::vector<unsigned char>(image.begin() + (y * width + x) * 4,
                                          image.begin() + (y * width + x) * 4 + 4);
    };
    const std::vector<unsigned char> black = {0, 0, 0, 0};
    const std::vector<unsigned char> red = {255, 0, 0, 255};

    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glFinish();
    EXPECT_EQ(frontPixel(5, 5), black);
    EXPECT_TRUE(SwapBuffers(dc));
    EXPECT_EQ(width, 32);
    EXPECT_EQ(height, 24);
    EXPECT_EQ(frontPixel(5, 5), red);
    EXPECT_EQ(frontPixel(31, 23), red);
    EXPECT_EQ(offscreenSwapCount(window), 1u);

    releaseRenderContext(window, dc, rc);
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    EXPECT_EQ(wglGetCurrentDC(), nullptr);
    EXPECT_EQ(OSMesaGetCurrentContext(), nullptr);
    // The context is gone: it cannot be made current again, and GL calls reach nothing.
    EXPECT_FALSE(wglMakeCurrent(dc, rc));
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    SwapBuffers(dc);
    EXPECT_EQ(frontPixel(5, 5), red);
}

} // namespace
