// Rendering context of the saver window. The window class keeps its own device context, so the one taken
// here stays valid for the window's life.
#include "shell/render_context.h"

const PIXELFORMATDESCRIPTOR pixelFormat = {
    sizeof(PIXELFORMATDESCRIPTOR),                              // nSize: 40
    1,                                                          // nVersion
    PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER, // dwFlags: 0x25
    PFD_TYPE_RGBA,                                              // iPixelType
    24,                                                         // cColorBits
    0,
    0,
    0,
    0,
    0,
    0, // red, green, blue bits and shifts
    0,
    0, // no alpha planes
    0,
    0,
    0,
    0,
    0,              // no accumulation buffer
    16,             // cDepthBits
    0,              // no stencil
    0,              // cAuxBuffers
    PFD_MAIN_PLANE, // iLayerType
    0,              // bReserved
    0,
    0,
    0 // layer, visible and damage masks
};

BOOL createRenderContext(HWND window, HDC& deviceContext, HGLRC& renderContext) {
    deviceContext = GetDC(window);
    int format = ChoosePixelFormat(deviceContext, &pixelFormat);
    SetPixelFormat(deviceContext, format, &pixelFormat);
    renderContext = wglCreateContext(deviceContext);
    return wglMakeCurrent(deviceContext, renderContext);
}

void releaseRenderContext(HWND window, HDC deviceContext, HGLRC renderContext) {
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(renderContext);
    ReleaseDC(window, deviceContext);
}
