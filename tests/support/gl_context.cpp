// The offscreen GL fixture.
#include "tests/support/gl_context.h"

OffscreenContext::OffscreenContext(int w, int h)
    : width(w), height(h), buffer(static_cast<size_t>(w) * static_cast<size_t>(h) * 4u) {
    context = OSMesaCreateContextExt(OSMESA_RGBA, 24, 8, 0, nullptr);
    if (context == nullptr) return;
    current = OSMesaMakeCurrent(context, buffer.data(), GL_UNSIGNED_BYTE, w, h) == GL_TRUE;
    // Read-back rows run bottom-up, as glReadPixels gives them.
    OSMesaPixelStore(OSMESA_Y_UP, 1);
}

OffscreenContext::~OffscreenContext() {
    if (context != nullptr) {
        OSMesaMakeCurrent(nullptr, nullptr, GL_UNSIGNED_BYTE, 0, 0);
        OSMesaDestroyContext(context);
    }
}

void GlTest::SetUp() {
    gl = new OffscreenContext(width, height);
    ASSERT_TRUE(gl->ok()) << "no OSMesa context";
}

void GlTest::TearDown() {
    delete gl;
    gl = nullptr;
}

void GlTest::resize(int w, int h) {
    delete gl;
    width = w;
    height = h;
    gl = new OffscreenContext(w, h);
    ASSERT_TRUE(gl->ok()) << "no OSMesa context";
}

std::vector<float> readMatrix(GLenum which) {
    std::vector<float> m(16);
    glGetFloatv(which, m.data());
    return m;
}
