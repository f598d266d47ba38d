// The records behind the X11 surface backend, shared by its two halves: x11_glx.cpp (windows, device
// contexts, pixel formats, WGL, buffer swap) and x11_events.cpp (X events into messages, waiting, the end
// on SIGTERM). Nothing else includes it. Linux only.
#pragma once

#include "shell/platform/win32.h"

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <list>

struct X11Window {
    HWND window = nullptr;
    bool nativeGone = false; // destroyed by someone else: nothing more may be asked of it
    Window xwindow = 0;
    HWND parent = nullptr;   // as the core gave it: one of ours, a native window, or null
    Window nativeParent = 0; // a native (foreign) parent watched for its destruction, or 0
    bool fullScreen = false;
    bool grabbed = false;
    bool hasVisual = false;
    bool doubleBuffered = false;
    XVisualInfo visual = {};
    Colormap colormap = 0;
    int width = 0;
    int height = 0;
    int pixelFormat = 0;
};

struct EmuDeviceContext {
    bool screen = false;
    X11Window* window = nullptr;
};

struct EmuRenderContext {
    GLXContext context = nullptr;
    int pixelFormat = 0;
};

struct X11State {
    Display* display = nullptr;
    bool displayTried = false;
    int lastError = 0;
    Cursor blankCursor = 0;
    bool cursorHidden = false;
    // Lists: records keep their addresses, which are the handles, and go as soon as they are dead.
    std::list<X11Window> windows;
    std::list<EmuDeviceContext> deviceContexts;
    std::list<EmuRenderContext> renderContexts;
    HGLRC currentContext = nullptr;
    HDC currentDeviceContext = nullptr;
};

X11State& x11State();
// The connection, opened with our error handler on first use; null when there is no display.
Display* x11Display();
// A window record by core handle, or by X window (one that still exists).
X11Window* x11FindWindow(HWND window);
X11Window* x11FindByXWindow(Window xwindow);
