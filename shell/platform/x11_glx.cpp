// The X11 surface backend of the Linux saver: each core window is an X window with a GLX visual, and
// OpenGL renders into it through GLX. A full-screen window (a top-level WS_EX_TOPMOST popup) is an
// override-redirect window over the screen that grabs keyboard and pointer; a child of a native window
// (a preview, or XScreenSaver's window) takes no input and never grabs. Windows carry their class and
// title as X properties, so a second saver process finds the first. An X error handler records errors
// instead of ending the process, so a bad window id only makes the call fail. x11_events.cpp turns X
// events into messages. What X cannot do: a window has one visual for life, so each window offers exactly
// one pixel format (double-buffered RGBA, chosen at creation); nothing can be posted to a native window,
// which has no message queue of ours.
#include "shell/platform/surface.h"
#include "shell/platform/x11_state.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

// The largest window this backend creates; a bigger one fails like a window the system cannot create.
static const int MAX_SIDE = 16384;
// Every window offers its one visual as pixel format 1.
static const int FORMAT_COUNT = 1;
// Another client may hold a grab for a moment (a menu, a key being held): try for about a second.
static const int GRAB_TRIES = 20;
static const useconds_t GRAB_RETRY_US = 50000;
// X resource ids have 29 bits.
static const UINT_PTR LARGEST_XID = 0x1FFFFFFF;
static const char PROGRAM_NAME[] = "nightgrid";

X11State& x11State() {
    static X11State state;
    return state;
}

static int onXError(Display*, XErrorEvent* error) {
    x11State().lastError = error->error_code;
    return 0;
}

// Opened on first use, so a process that never needs the display (an unknown switch) runs without one.
Display* x11Display() {
    X11State& state = x11State();
    if (!state.displayTried) {
        state.displayTried = true;
        XSetErrorHandler(onXError);
        state.display = XOpenDisplay(nullptr);
    }
    return state.display;
}

// Runs the requests made so far and says whether any of them failed.
static bool requestsFailed() {
    x11State().lastError = 0;
    XSync(x11State().display, False);
    return x11State().lastError != 0;
}

static Window xidOf(HWND window) {
    return static_cast<Window>(reinterpret_cast<UINT_PTR>(window));
}

static HWND handleOf(Window window) {
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(window));
}

X11Window* x11FindWindow(HWND window) {
    for (X11Window& w : x11State().windows)
        if (w.window == window) return &w;
    return nullptr;
}

X11Window* x11FindByXWindow(Window xwindow) {
    for (X11Window& w : x11State().windows)
        if (!w.nativeGone && w.xwindow == xwindow) return &w;
    return nullptr;
}

// A handle is only looked into once it is known to be one of ours.
static EmuDeviceContext* validDeviceContext(HDC deviceContext) {
    for (EmuDeviceContext& dc : x11State().deviceContexts)
        if (&dc == deviceContext) return &dc;
    return nullptr;
}

static EmuRenderContext* validRenderContext(HGLRC renderContext) {
    for (EmuRenderContext& rc : x11State().renderContexts)
        if (&rc == renderContext) return &rc;
    return nullptr;
}

static void releaseCurrent() {
    if (x11State().display != nullptr) glXMakeCurrent(x11State().display, None, nullptr);
    x11State().currentContext = nullptr;
    x11State().currentDeviceContext = nullptr;
}

// A native window of any client, by id; its attributes when it exists.
static bool nativeWindow(HWND window, XWindowAttributes* attributes) {
    UINT_PTR value = reinterpret_cast<UINT_PTR>(window);
    if (value == 0 || value > LARGEST_XID || x11Display() == nullptr) return false;
    return XGetWindowAttributes(x11State().display, static_cast<Window>(value), attributes) != 0;
}

static Cursor blankCursor() {
    X11State& state = x11State();
    if (state.blankCursor == 0) {
        Window root = DefaultRootWindow(state.display);
        char bits = 0;
        Pixmap empty = XCreateBitmapFromData(state.display, root, &bits, 1, 1);
        XColor black = {};
        state.blankCursor = XCreatePixmapCursor(state.display, empty, empty, &black, &black, 0, 0);
        XFreePixmap(state.display, empty);
    }
    return state.blankCursor;
}

// The pointer's root position, so the first GetCursorPos (the shell records it on WM_CREATE) is real.
static void readPointer(Window root) {
    Window rootReturn = 0, child = 0;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned mask = 0;
    if (XQueryPointer(x11State().display, root, &rootReturn, &child, &rootX, &rootY, &x, &y, &mask))
        platformCursorMoved(rootX, rootY);
}

static void grabInput(X11Window& w) {
    Display* d = x11State().display;
    Cursor cursor = x11State().cursorHidden ? blankCursor() : None;
    bool keyboard = false, pointer = false;
    for (int i = 0; i < GRAB_TRIES && !(keyboard && pointer); ++i) {
        if (i > 0) usleep(GRAB_RETRY_US);
        if (!keyboard)
            keyboard =
                XGrabKeyboard(d, w.xwindow, True, GrabModeAsync, GrabModeAsync, CurrentTime) == GrabSuccess;
        if (!pointer)
            pointer = XGrabPointer(d, w.xwindow, True, ButtonPressMask | PointerMotionMask, GrabModeAsync,
                                   GrabModeAsync, None, cursor, CurrentTime) == GrabSuccess;
    }
    // Without a grab the saver still covers the screen and takes the input that reaches it.
    w.grabbed = keyboard || pointer;
}

// ---- Surface hooks ----

BOOL surfaceCreateWindow(HWND window, const SurfaceWindow& description) {
    Display* d = x11Display();
    if (d == nullptr || description.width > MAX_SIDE || description.height > MAX_SIDE) return FALSE;
    X11Window record;
    record.window = window;
    record.parent = description.parent;
    record.width = description.width;
    record.height = description.height;

    int screen = DefaultScreen(d);
    Window xparent = RootWindow(d, screen);
    bool child = (description.style & WS_CHILD) != 0;
    if (description.parent != nullptr) {
        X11Window* own = x11FindWindow(description.parent);
        XWindowAttributes attributes;
        if (own != nullptr) {
            if (own->nativeGone) return FALSE;
            if (child) xparent = own->xwindow;
        } else if (nativeWindow(description.parent, &attributes)) {
            screen = XScreenNumberOfScreen(attributes.screen);
            if (child) {
                xparent = xidOf(description.parent);
                record.nativeParent = xparent;
            }
        } else {
            return FALSE;
        }
    }
    Window root = RootWindow(d, screen);
    record.fullScreen = !child && (description.exStyle & WS_EX_TOPMOST) != 0;

    int attributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 8,   GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE,
                        8,        GLX_DEPTH_SIZE,   16,           None};
    XVisualInfo* chosen = glXChooseVisual(d, screen, attributes);
    if (chosen == nullptr) {
        // Fewer colour bits still draw the city.
        int fewer[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_DEPTH_SIZE, 16, None};
        chosen = glXChooseVisual(d, screen, fewer);
    }
    Visual* visual = DefaultVisual(d, screen);
    int depth = DefaultDepth(d, screen);
    if (chosen != nullptr) {
        record.hasVisual = true;
        record.visual = *chosen;
        visual = chosen->visual;
        depth = chosen->depth;
        XFree(chosen);
        int doubleBuffer = 0;
        glXGetConfig(d, &record.visual, GLX_DOUBLEBUFFER, &doubleBuffer);
        record.doubleBuffered = doubleBuffer != 0;
    }
    // Without a GLX visual the window still exists; it just offers no pixel format, as on Windows.

    XSetWindowAttributes set = {};
    unsigned long mask = CWBackPixel | CWBorderPixel | CWColormap | CWEventMask | CWOverrideRedirect;
    record.colormap = XCreateColormap(d, root, visual, AllocNone);
    set.colormap = record.colormap;
    set.background_pixel = BlackPixel(d, screen);
    set.border_pixel = 0;
    set.override_redirect = record.fullScreen ? True : False;
    set.event_mask = ExposureMask | StructureNotifyMask;
    // A window inside someone else's leaves the clicks to its host; only a saver of its own takes input.
    if (!child) set.event_mask |= KeyPressMask | ButtonPressMask | PointerMotionMask | FocusChangeMask;
    if (x11State().cursorHidden) {
        set.cursor = blankCursor();
        mask |= CWCursor;
    }
    record.xwindow = XCreateWindow(
        d, xparent, description.x, description.y, static_cast<unsigned>(std::max(record.width, 1)),
        static_cast<unsigned>(std::max(record.height, 1)), 0, depth, InputOutput, visual, mask, &set);
    if (requestsFailed()) {
        XFreeColormap(d, record.colormap);
        return FALSE;
    }

    // Found by class and title from other processes: a second saver brings this one forward.
    XStoreName(d, record.xwindow, description.title);
    std::string title = description.title != nullptr ? description.title : "";
    XChangeProperty(d, record.xwindow, XInternAtom(d, "_NET_WM_NAME", False),
                    XInternAtom(d, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title.c_str()), static_cast<int>(title.size()));
    std::string className = description.className != nullptr ? description.className : "";
    std::string resourceName = PROGRAM_NAME;
    XClassHint hint = {&resourceName[0], &className[0]};
    XSetClassHint(d, record.xwindow, &hint);
    if (record.nativeParent != 0) {
        // Our mask on the host's window, beside the host's own: it tells us when the host goes.
        XWindowAttributes parentAttributes;
        if (XGetWindowAttributes(d, record.nativeParent, &parentAttributes))
            XSelectInput(d, record.nativeParent, parentAttributes.your_event_mask | StructureNotifyMask);
    }
    readPointer(root);
    XFlush(d);
    x11State().windows.push_back(record);
    return TRUE;
}

void surfaceShowWindow(HWND window, BOOL visible) {
    X11Window* record = x11FindWindow(window);
    if (record == nullptr || record->nativeGone) return;
    Display* d = x11State().display;
    if (!visible) {
        XUnmapWindow(d, record->xwindow);
        XFlush(d);
        return;
    }
    XMapRaised(d, record->xwindow);
    // An override-redirect window is viewable once the server has mapped it, in request order.
    if (record->fullScreen && !record->grabbed) grabInput(*record);
    XFlush(d);
}

void surfaceDestroyWindow(HWND window) {
    X11Window* record = x11FindWindow(window);
    if (record == nullptr) return;
    Display* d = x11State().display;
    // A context drawing into the window must not go on drawing into a window that is gone.
    EmuDeviceContext* current = validDeviceContext(x11State().currentDeviceContext);
    if (current != nullptr && current->window == record) releaseCurrent();
    x11State().deviceContexts.remove_if([record](const EmuDeviceContext& dc) { return dc.window == record; });
    if (!record->nativeGone) {
        if (record->grabbed) {
            XUngrabKeyboard(d, CurrentTime);
            XUngrabPointer(d, CurrentTime);
        }
        XDestroyWindow(d, record->xwindow);
    }
    XFreeColormap(d, record->colormap);
    XSync(d, False);
    x11State().windows.remove_if([record](const X11Window& w) { return &w == record; });
}

void surfaceSetForeground(HWND window) {
    Display* d = x11State().display;
    if (d == nullptr) return;
    X11Window* record = x11FindWindow(window);
    if (record != nullptr) {
        if (record->nativeGone) return;
        XRaiseWindow(d, record->xwindow);
        // Focus only for a window of its own; a child leaves its host's focus alone.
        if (record->nativeParent == 0) XSetInputFocus(d, record->xwindow, RevertToParent, CurrentTime);
    } else {
        // Another process's saver: brought forward only, so its focus and its grab stay as they are.
        XRaiseWindow(d, xidOf(window));
    }
    XSync(d, False);
}

void surfaceSetCursorVisible(BOOL visible) {
    X11State& state = x11State();
    state.cursorHidden = !visible;
    if (state.display == nullptr) return;
    for (X11Window& w : state.windows) {
        if (w.nativeGone) continue;
        if (visible)
            XUndefineCursor(state.display, w.xwindow);
        else
            XDefineCursor(state.display, w.xwindow, blankCursor());
    }
    XFlush(state.display);
}

BOOL surfaceIsForeignWindow(HWND window) {
    XWindowAttributes attributes;
    return nativeWindow(window, &attributes) ? TRUE : FALSE;
}

BOOL surfaceForeignClientRect(HWND window, LPRECT rect) {
    XWindowAttributes attributes;
    if (rect == nullptr || !nativeWindow(window, &attributes)) return FALSE;
    *rect = {0, 0, attributes.width, attributes.height};
    return TRUE;
}

BOOL surfacePostForeign(HWND, UINT, WPARAM, LPARAM) {
    return FALSE; // an X window has no message queue of ours
}

static bool sameName(const char* a, const char* b) {
    std::string left = a != nullptr ? a : "", right = b != nullptr ? b : "";
    if (left.size() != right.size()) return false;
    for (size_t i = 0; i < left.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(left[i])) !=
            std::toupper(static_cast<unsigned char>(right[i])))
            return false;
    return true;
}

HWND surfaceFindForeignWindow(LPCSTR className, LPCSTR windowName) {
    Display* d = x11Display();
    if (d == nullptr) return nullptr;
    // Top-level windows only, as FindWindowA looks: the children of each screen's root.
    for (int screen = 0; screen < ScreenCount(d); ++screen) {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(d, RootWindow(d, screen), &root, &parent, &children, &count)) continue;
        HWND found = nullptr;
        for (unsigned i = 0; i < count && found == nullptr; ++i) {
            if (className != nullptr) {
                XClassHint hint = {nullptr, nullptr};
                if (!XGetClassHint(d, children[i], &hint)) continue;
                bool match = sameName(hint.res_class, className);
                XFree(hint.res_name);
                XFree(hint.res_class);
                if (!match) continue;
            }
            if (windowName != nullptr) {
                char* name = nullptr;
                if (!XFetchName(d, children[i], &name)) continue;
                bool match = std::strcmp(name, windowName) == 0;
                XFree(name);
                if (!match) continue;
            }
            found = handleOf(children[i]);
        }
        if (children != nullptr) XFree(children);
        if (found != nullptr) return found;
    }
    return nullptr;
}

// ---- Device context ----

HDC GetDC(HWND window) {
    EmuDeviceContext dc;
    if (window == nullptr) {
        if (x11Display() == nullptr) return nullptr;
        dc.screen = true;
    } else {
        X11Window* record = x11FindWindow(window);
        if (record == nullptr) return nullptr;
        // Each window keeps its own device context.
        for (EmuDeviceContext& existing : x11State().deviceContexts)
            if (existing.window == record) return &existing;
        dc.window = record;
    }
    x11State().deviceContexts.push_back(dc);
    return &x11State().deviceContexts.back();
}

int ReleaseDC(HWND, HDC deviceContext) {
    EmuDeviceContext* dc = validDeviceContext(deviceContext);
    if (dc == nullptr) return 0;
    // A window's own context stays for the window's life.
    if (dc->screen) x11State().deviceContexts.remove_if([dc](const EmuDeviceContext& d) { return &d == dc; });
    return 1;
}

int GetClipBox(HDC deviceContext, LPRECT rect) {
    EmuDeviceContext* dc = validDeviceContext(deviceContext);
    if (dc == nullptr || rect == nullptr) return 0;
    if (dc->screen) {
        Display* d = x11State().display;
        *rect = {0, 0, DisplayWidth(d, DefaultScreen(d)), DisplayHeight(d, DefaultScreen(d))};
    } else {
        *rect = {0, 0, dc->window->width, dc->window->height};
    }
    return SIMPLEREGION;
}

// ---- Pixel format ----

static int visualConfig(const X11Window& w, int attribute) {
    int value = 0;
    XVisualInfo visual = w.visual;
    if (glXGetConfig(x11State().display, &visual, attribute, &value) != 0) return 0;
    return value;
}

static BYTE maskShift(unsigned long mask) {
    BYTE shift = 0;
    while (mask != 0 && (mask & 1u) == 0 && shift < 63) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

int ChoosePixelFormat(HDC deviceContext, const PIXELFORMATDESCRIPTOR* request) {
    EmuDeviceContext* dc = validDeviceContext(deviceContext);
    if (dc == nullptr || dc->screen || request == nullptr) return 0;
    if (request->iPixelType != PFD_TYPE_RGBA) return 0; // no colour-index formats
    // The window's one visual is the closest match there is, as Windows picks the closest.
    return dc->window->hasVisual ? 1 : 0;
}

int DescribePixelFormat(HDC deviceContext, int format, UINT size, LPPIXELFORMATDESCRIPTOR description) {
    EmuDeviceContext* dc = validDeviceContext(deviceContext);
    if (dc == nullptr || dc->screen || !dc->window->hasVisual) return 0;
    if (description == nullptr) return FORMAT_COUNT;
    if (format < 1 || format > FORMAT_COUNT || size < sizeof(PIXELFORMATDESCRIPTOR)) return 0;
    const X11Window& w = *dc->window;
    *description = {};
    description->nSize = sizeof(PIXELFORMATDESCRIPTOR);
    description->nVersion = 1;
    description->dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    if (w.doubleBuffered) description->dwFlags |= PFD_DOUBLEBUFFER;
    description->iPixelType = PFD_TYPE_RGBA;
    description->cRedBits = static_cast<BYTE>(visualConfig(w, GLX_RED_SIZE));
    description->cGreenBits = static_cast<BYTE>(visualConfig(w, GLX_GREEN_SIZE));
    description->cBlueBits = static_cast<BYTE>(visualConfig(w, GLX_BLUE_SIZE));
    description->cColorBits =
        static_cast<BYTE>(description->cRedBits + description->cGreenBits + description->cBlueBits);
    description->cRedShift = maskShift(w.visual.red_mask);
    description->cGreenShift = maskShift(w.visual.green_mask);
    description->cBlueShift = maskShift(w.visual.blue_mask);
    description->cAlphaBits = static_cast<BYTE>(visualConfig(w, GLX_ALPHA_SIZE));
    description->cDepthBits = static_cast<BYTE>(visualConfig(w, GLX_DEPTH_SIZE));
    description->cStencilBits = static_cast<BYTE>(visualConfig(w, GLX_STENCIL_SIZE));
    description->iLayerType = PFD_MAIN_PLANE;
    return FORMAT_COUNT;
}

BOOL SetPixelFormat(HDC deviceContext, int format, const PIXELFORMATDESCRIPTOR*) {
    EmuDeviceContext* dc = validDeviceContext(deviceContext);
    if (dc == nullptr || dc->screen || !dc->window->hasVisual || format < 1 || format > FORMAT_COUNT)
        return FALSE;
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
    EmuRenderContext rc;
    XVisualInfo visual = dc->window->visual;
    rc.context = glXCreateContext(x11State().display, &visual, nullptr, True);
    if (rc.context == nullptr || requestsFailed()) {
        if (rc.context != nullptr) glXDestroyContext(x11State().display, rc.context);
        return nullptr;
    }
    rc.pixelFormat = dc->window->pixelFormat;
    x11State().renderContexts.push_back(rc);
    return &x11State().renderContexts.back();
}

BOOL wglMakeCurrent(HDC deviceContext, HGLRC renderContext) {
    if (renderContext == nullptr) {
        releaseCurrent();
        return TRUE;
    }
    EmuRenderContext* rc = validRenderContext(renderContext);
    EmuDeviceContext* dc = validDeviceContext(deviceContext);
    // On failure the thread is left with no current context, as WGL does it.
    if (rc == nullptr || dc == nullptr || dc->screen || dc->window->nativeGone ||
        dc->window->pixelFormat != rc->pixelFormat) {
        releaseCurrent();
        return FALSE;
    }
    if (!glXMakeCurrent(x11State().display, dc->window->xwindow, rc->context)) {
        releaseCurrent();
        return FALSE;
    }
    x11State().currentContext = renderContext;
    x11State().currentDeviceContext = deviceContext;
    return TRUE;
}

BOOL wglDeleteContext(HGLRC renderContext) {
    EmuRenderContext* rc = validRenderContext(renderContext);
    if (rc == nullptr) return FALSE;
    if (x11State().currentContext == renderContext) releaseCurrent();
    glXDestroyContext(x11State().display, rc->context);
    x11State().renderContexts.remove_if([rc](const EmuRenderContext& r) { return &r == rc; });
    return TRUE;
}

HGLRC wglGetCurrentContext() {
    return x11State().currentContext;
}

HDC wglGetCurrentDC() {
    return x11State().currentDeviceContext;
}

// ---- Buffer swap ----

BOOL SwapBuffers(HDC deviceContext) {
    EmuDeviceContext* dc = validDeviceContext(deviceContext);
    if (dc == nullptr || dc->screen || dc->window->pixelFormat == 0 || dc->window->nativeGone) return FALSE;
    if (!dc->window->doubleBuffered) return FALSE;
    glXSwapBuffers(x11State().display, dc->window->xwindow);
    return TRUE;
}
