// The in-memory OSMesa context.
#include "tools/offscreen_context.h"

#include <cstddef>

Offscreen::Offscreen(int w, int h)
    : width(w), height(h), pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4u) {
    context = OSMesaCreateContextExt(OSMESA_RGBA, 24, 0, 0, nullptr);
    if (context != nullptr) ok = OSMesaMakeCurrent(context, pixels.data(), GL_UNSIGNED_BYTE, w, h) == GL_TRUE;
}

Offscreen::~Offscreen() {
    if (context != nullptr) {
        OSMesaMakeCurrent(nullptr, nullptr, GL_UNSIGNED_BYTE, 0, 0);
        OSMesaDestroyContext(context);
    }
}
