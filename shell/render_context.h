// The saver window's OpenGL rendering context: one double-buffered RGBA pixel format on the window's own
// device context, created on WM_CREATE and released on WM_DESTROY.
#pragma once

#include "shell/platform/win32.h"

// The one pixel-format request: draw to window, OpenGL, double buffer, RGBA, 24 colour bits, 16 depth bits.
extern const PIXELFORMATDESCRIPTOR pixelFormat;

// GetDC, ChoosePixelFormat, SetPixelFormat, wglCreateContext, wglMakeCurrent, in that order; returns the
// last call's result.
BOOL createRenderContext(HWND window, HDC& deviceContext, HGLRC& renderContext);
// Makes no context current, deletes the context and releases the device context.
void releaseRenderContext(HWND window, HDC deviceContext, HGLRC renderContext);
