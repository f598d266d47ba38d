// The offscreen surface backend: windows are pixel buffers and OpenGL renders into them through OSMesa
// (software Mesa), so the shell runs, draws and is tested with no display at all. Non-Windows targets.
// Each window has a back buffer the context draws into and a front buffer that SwapBuffers fills, which
// gives the double-buffered behaviour the shell asks for (OSMesa itself has a single buffer, so
// glGetBooleanv(GL_DOUBLEBUFFER) still says false). There is no pointer and no keyboard: input comes only
// from the test controls, and waiting for input just lets time pass. Native (foreign) windows do not exist.
#include "shell/platform/offscreen_surface.h"
#include "shell/platform/surface.h"

#include <GL/osmesa.h>

#include <algorithm>
#include <chrono>
#include <list>
#include <thread>

// The largest window this backend allocates; a bigger one fails like a window the system cannot create.
static const int MAX_SIDE = 16384;
static const DWORD LONGEST_WAIT_MS = 10;

struct OffscreenFormat {
    DWORD flags;
    BYTE colorBits;
    BYTE alphaBits;
    BYTE depthBits;
    BYTE stencilBits;
};

// The formats a window offers, numbered from 1 as Windows numbers them.
static const OffscreenFormat FORMATS[] = {
    {PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER, 24, 8, 24, 8},
    {PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER, 24, 8, 16, 0},
    {PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL, 24, 8, 24, 8},
};
static const int FORMAT_COUNT = static_cast<int>(sizeof(FORMATS) / sizeof(FORMATS[0]));

struct OffscreenWindow {
    HWND window = nullptr;
    int width = 0;
    int height = 0;
    int pixelFormat = 0;
    unsigned swaps = 0;
    std::vector<unsigned char> back;
    std::vector<unsigned char> front;
};

struct EmuDeviceContext {
    bool screen = false;
    OffscreenWindow* window = nullptr;
};

struct EmuRenderContext {
    OSMesaContext context = nullptr;
    int pixelFormat = 0;
};

struct OffscreenState {
    int screenWidth = 640;
    int screenHeight = 480;
    // Lists: records keep their addresses, which are the handles, and go as soon as they are dead.
    std::list<OffscreenWindow> windows;
    std::list<EmuDeviceContext> deviceContexts;
    std::list<EmuRenderContext> renderContexts;
    HGLRC currentContext = nullptr;
    HDC currentDeviceContext = nullptr;
};

static OffscreenState& offscreen() {
    static OffscreenState state;
    return state;
}

static OffscreenWindow* findWindow(HWND window) {
    for (OffscreenWindow& w : offscreen().windows)
        if (w.window == window) return &w;
    return nullptr;
}

// A handle is only looked into once it is known to be one of ours and still alive.
static EmuDeviceContext* validDeviceContext(HDC deviceContext) {
    for (EmuDeviceContext& dc : offscreen().deviceContexts)
        if (&dc == deviceContext) return &dc;
    return nullptr;
}

static EmuRenderContext* validRenderContext(HGLRC renderContext) {
    for (EmuRenderContext& rc : offscreen().renderContexts)
        if (&rc == renderContext) return &rc;
    return nullptr;
}

static void releaseCurrent() {
    OSMesaMakeCurrent(nullptr, nullptr, GL_UNSIGNED_BYTE, 0, 0);
    offscreen().currentContext = nullptr;
    offscreen().currentDeviceContext = nullptr;
}

// ---- Surface hooks ----

BOOL surfaceCreateWindow(HWND window, const SurfaceWindow& description) {
    if (description.width > MAX_SIDE || description.height > MAX_SIDE) return FALSE;
    OffscreenWindow record;
    record.window = window;
    record.width = description.width;
    record.height = description.height;
    size_t bytes = static_cast<size_t>(record.width) * static_cast<size_t>(record.height) * 4u;
    record.back.assign(bytes, 0);
    record.front.assign(bytes, 0);
    offscreen().windows.push_back(std::move(record));
    return TRUE;
}

void surfaceShowWindow(HWND, BOOL) {}

void surfaceDestroyWindow(HWND window) {
    OffscreenWindow* record = findWindow(window);
    if (record == nullptr) return;
    // A context drawing into the window must not go on writing into freed pixels.
    EmuDeviceContext* current = validDeviceContext(offscreen().currentDeviceContext);
    if (current != nullptr && current->window == record) releaseCurrent();
    offscreen().deviceContexts.remove_if(
        [record](const EmuDeviceContext& dc) { return dc.window == record; });
    offscreen().windows.remove_if([record](const OffscreenWindow& w) { return &w == record; });
}

void surfaceSetForeground(HWND) {}
void surfaceSetCursorVisible(BOOL) {}
BOOL surfaceIsForeignWindow(HWND) {
    return FALSE;
}
BOOL surfaceForeignClientRect(HWND, LPRECT) {
    return FALSE;
}
BOOL surfacePostForeign(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}
HWND surfaceFindForeignWindow(LPCSTR, LPCSTR) {
    return nullptr;
}

void surfaceWaitForInput(DWORD timeoutMs) {
    // Nothing ever arrives from here; only time passes.
    DWORD wait = std::min(timeoutMs, LONGEST_WAIT_MS);
    if (wait > 0) std::this_thread::sleep_for(std::chrono::milliseconds(wait));
}

// ---- Device context ----

HDC GetDC(HWND window) {
    EmuDeviceContext dc;
    if (window == nullptr) {
        dc.screen = true;
    } else {
        OffscreenWindow* record = findWindow(window);
        if (record == nullptr) return nullptr;
        // Each window keeps its own device context.
        for (EmuDeviceContext& existing : offscreen().deviceContexts)
            if (existing.window == record) return &existing;
        dc.window = record;
    }
    offscreen().deviceContexts.push_back(dc);
    return &offscreen().deviceContexts.back();
}

int ReleaseDC(HWND, HDC deviceContext) {
    EmuDeviceContext* dc = validDeviceContext(deviceContext);
    if (dc == nullptr) return 0;
    // A window's own context stays for the window's life.
    if (dc->screen)
        offscreen().deviceContexts.remove_if([dc](const EmuDeviceContext& d) { return &d == dc; });
    return 1;
}

int GetClipBox(HDC deviceContext, LPRECT rect) {
    EmuDeviceContext* dc = validDeviceContext(deviceContext);
    if (dc == nullptr || rect == nullptr) return 0;
    if (dc->screen)
        *rect = {0, 0, offscreen().screenWidth, offscreen().screenHeight};
    else
        *rect = {0, 0, dc->window->width, dc->window->height};
    return SIMPLEREGION;
}

// ---- Pixel format ----

int ChoosePixelFormat(HDC deviceContext, const PIXELFORMATDESCRIPTOR* request) {
    if (validDeviceContext(deviceContext) == nullptr || request == nullptr) return 0;
    if (request->iPixelType != PFD_TYPE_RGBA) return 0; // no colour-index formats
    const DWORD required = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    int fallback = 0;
    for (int i = 0; i < FORMAT_COUNT; ++i) {
        const OffscreenFormat& f = FORMATS[i];
        if ((f.flags & request->dwFlags & required) != (request->dwFlags & required)) continue;
        if ((f.flags & PFD_DOUBLEBUFFER) != (request->dwFlags & PFD_DOUBLEBUFFER)) continue;
        if (fallback == 0) fallback = i + 1;
        if (f.depthBits >= request->cDepthBits && f.stencilBits >= request->cStencilBits &&
            f.alphaBits >= request->cAlphaBits)
            return i + 1;
    }
    return fallback;
}

int DescribePixelFormat(HDC deviceContext, int format, UINT size, LPPIXELFORMATDESCRIPTOR description) {
    if (validDeviceContext(deviceContext) == nullptr) return 0;
    if (description == nullptr) return FORMAT_COUNT;
    if (format < 1 || format > FORMAT_COUNT || size < sizeof(PIXELFORMATDESCRIPTOR)) return 0;
    const OffscreenFormat& f = FORMATS[format - 1];
    *description = {};
    description->nSize = sizeof(PIXELFORMATDESCRIPTOR);
    description->nVersion = 1;
    description->dwFlags = f.flags;
    description->iPixelType = PFD_TYPE_RGBA;
    description->cColorBits = f.colorBits;
    description->cRedBits = 8;
    description->cGreenBits = 8;
    description->cGreenShift = 8;
    description->cBlueBits = 8;
    description->cBlueShift = 16;
    description->cAlphaBits = f.alphaBits;
    description->cAlphaShift = 24;
    description->cDepthBits = f.depthBits;
    description->cStencilBits = f.stencilBits;
    description->iLayerType = PFD_MAIN_PLANE;
    return FORMAT_COUNT;
}

BOOL SetPixelFormat(HDC deviceContext, int format, const PIXELFORMATDESCRIPTOR*) {
    EmuDeviceContext* dc = validDeviceContext(deviceContext);
    if (dc == nullptr || dc->screen || format < 1 || format > FORMAT_COUNT) return FALSE;
    // A window takes its pixel format once.
    if (dc->window->pixelFormat != 0) return dc->window->pixelFormat == format ? TRUE : FALSE;
    dc->window->pixelFormat = format;
    return TRUE;
}

int GetPixelFormat(HDC deviceContext) {
    EmuDeviceContext* dc = validDeviceContext(deviceContext);
    return dc != nullptr && !dc->screen ? dc->window->pixelFormat : 0;
}

// ---- WGL ----

HGLRC wglCreateContext(HDC deviceContext) {
    EmuDeviceContext* dc = validDeviceContext(deviceContext);
    if (dc == nullptr || dc->screen || dc->window->pixelFormat == 0) return nullptr;
    const OffscreenFormat& f = FORMATS[dc->window->pixelFormat - 1];
    EmuRenderContext rc;
    rc.context = OSMesaCreateContextExt(OSMESA_RGBA, f.depthBits, f.stencilBits, 0, nullptr);
    if (rc.context == nullptr) return nullptr;
    rc.pixelFormat = dc->window->pixelFormat;
    offscreen().renderContexts.push_back(rc);
    return &offscreen().renderContexts.back();
}

BOOL wglMakeCurrent(HDC deviceContext, HGLRC renderContext) {
    if (renderContext == nullptr) {
        releaseCurrent();
        return TRUE;
    }
    EmuRenderContext* rc = validRenderContext(renderContext);
    EmuDeviceContext* dc = validDeviceContext(deviceContext);
    // On failure the thread is left with no current context, as WGL does it.
    if (rc == nullptr || dc == nullptr || dc->screen || dc->window->pixelFormat != rc->pixelFormat ||
        dc->window->width < 1 || dc->window->height < 1) {
        releaseCurrent();
        return FALSE;
    }
    OffscreenWindow* w = dc->window;
    if (!OSMesaMakeCurrent(rc->context, w->back.data(), GL_UNSIGNED_BYTE, w->width, w->height)) {
        releaseCurrent();
        return FALSE;
    }
    OSMesaPixelStore(OSMESA_Y_UP, 1);
    offscreen().currentContext = renderContext;
    offscreen().currentDeviceContext = deviceContext;
    return TRUE;
}

BOOL wglDeleteContext(HGLRC renderContext) {
    EmuRenderContext* rc = validRenderContext(renderContext);
    if (rc == nullptr) return FALSE;
    if (offscreen().currentContext == renderContext) releaseCurrent();
    OSMesaDestroyContext(rc->context);
    offscreen().renderContexts.remove_if([rc](const EmuRenderContext& r) { return &r == rc; });
    return TRUE;
}

HGLRC wglGetCurrentContext() {
    return offscreen().currentContext;
}

HDC wglGetCurrentDC() {
    return offscreen().currentDeviceContext;
}

// ---- Buffer swap ----

BOOL SwapBuffers(HDC deviceContext) {
    EmuDeviceContext* dc = validDeviceContext(deviceContext);
    if (dc == nullptr || dc->screen || dc->window->pixelFormat == 0) return FALSE;
    OffscreenWindow* w = dc->window;
    if ((FORMATS[w->pixelFormat - 1].flags & PFD_DOUBLEBUFFER) == 0) return FALSE;
    // OSMesa fills the caller's buffer when rendering is finished.
    if (offscreen().currentDeviceContext == deviceContext) glFinish();
    w->front = w->back;
    ++w->swaps;
    return TRUE;
}

// ---- Offscreen controls ----

void offscreenSetScreenSize(int width, int height) {
    offscreen().screenWidth = width;
    offscreen().screenHeight = height;
}

std::vector<unsigned char> offscreenFrontImage(HWND window, int* width, int* height) {
    OffscreenWindow* w = findWindow(window);
    if (width != nullptr) *width = w != nullptr ? w->width : 0;
    if (height != nullptr) *height = w != nullptr ? w->height : 0;
    return w != nullptr ? w->front : std::vector<unsigned char>{};
}

unsigned offscreenSwapCount(HWND window) {
    OffscreenWindow* w = findWindow(window);
    return w != nullptr ? w->swaps : 0;
}
