// The offscreen context on Windows: a 32-bit DIB section in a memory device context with a WGL context on
// it, the platform's own way to render without a window. Under Wine it reaches Mesa, like OSMesa on Linux.
#include "tests/support/gl_context.h"

OffscreenContext::OffscreenContext(int w, int h) : width(w), height(h) {
    deviceContext = CreateCompatibleDC(nullptr);
    if (deviceContext == nullptr) return;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h; // bottom-up, as glReadPixels gives rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap = CreateDIBSection(deviceContext, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) return;
    previousBitmap = SelectObject(deviceContext, bitmap);

    // The same buffers as the OSMesa context: RGBA, 24 depth bits, 8 stencil bits.
    PIXELFORMATDESCRIPTOR format = {};
    format.nSize = sizeof(format);
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_BITMAP | PFD_SUPPORT_OPENGL | PFD_SUPPORT_GDI;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 32;
    format.cAlphaBits = 8;
    format.cDepthBits = 24;
    format.cStencilBits = 8;
    format.iLayerType = PFD_MAIN_PLANE;
    const int chosen = ChoosePixelFormat(deviceContext, &format);
    if (chosen == 0 || !SetPixelFormat(deviceContext, chosen, &format)) return;
    context = wglCreateContext(deviceContext);
    if (context == nullptr) return;
    current = wglMakeCurrent(deviceContext, context) != FALSE;
}

OffscreenContext::~OffscreenContext() {
    if (context != nullptr) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(context);
    }
    if (previousBitmap != nullptr) SelectObject(deviceContext, previousBitmap);
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (deviceContext != nullptr) DeleteDC(deviceContext);
}
