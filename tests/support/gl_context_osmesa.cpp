// The offscreen context on OSMesa (Linux): a colour buffer in memory that Mesa renders into.
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
