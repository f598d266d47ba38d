// The offscreen GL fixture.
#include "tests/support/gl_context.h"

void GlTest::SetUp() {
    gl = new OffscreenContext(width, height);
    ASSERT_TRUE(gl->ok()) << "no offscreen GL context";
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
    ASSERT_TRUE(gl->ok()) << "no offscreen GL context";
}

std::vector<float> readMatrix(GLenum which) {
    std::vector<float> m(16);
    glGetFloatv(which, m.data());
    return m;
}
