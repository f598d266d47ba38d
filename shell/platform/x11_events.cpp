// The input half of the X11 surface backend: X events into the shell's messages, the wait for them, and
// the end on SIGTERM. Key press is WM_KEYDOWN (WM_SYSKEYDOWN with Alt or F10), buttons 1 to 3 the three
// button-down messages, motion WM_MOUSEMOVE with the pointer's root position for GetCursorPos, loss of the
// focus to another window WM_ACTIVATEAPP 0, expose WM_PAINT, and the destruction of the X window or of the
// native window it lives in WM_DESTROY, sent through DestroyWindow as the system sends it when another
// process destroys a parent. The wheel and the extra buttons have no message in the shell's subset.
// Linux only.
#include "shell/platform/surface.h"
#include "shell/platform/x11_state.h"
#include "shell/platform/x11_surface.h"

#include <X11/keysym.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <vector>

static const DWORD WAIT_FOREVER = 0xFFFFFFFFu;
// With nothing to watch, a wait still lets this much time pass.
static const DWORD IDLE_WAIT_MS = 10;

// What the signal handler touches: plain values, no constructors.
static volatile sig_atomic_t terminationRequested = 0;
static int wakePipe[2] = {-1, -1};

// Virtual-key codes for the keys that have an obvious one; the shell only needs to know a key went down.
static WPARAM virtualKey(KeySym key) {
    if (key >= XK_a && key <= XK_z) return static_cast<WPARAM>('A' + (key - XK_a));
    if ((key >= XK_A && key <= XK_Z) || (key >= XK_0 && key <= XK_9)) return static_cast<WPARAM>(key);
    if (key >= XK_F1 && key <= XK_F12) return static_cast<WPARAM>(0x70 + (key - XK_F1));
    switch (key) {
    case XK_BackSpace:
        return 0x08;
    case XK_Tab:
        return 0x09;
    case XK_Return:
        return 0x0D;
    case XK_Escape:
        return 0x1B;
    case XK_space:
        return 0x20;
    case XK_Shift_L:
    case XK_Shift_R:
        return 0x10;
    case XK_Control_L:
    case XK_Control_R:
        return 0x11;
    case XK_Alt_L:
    case XK_Alt_R:
        return 0x12;
    }
    return 0;
}

static void destroyWindows(const std::vector<HWND>& windows) {
    for (HWND window : windows)
        DestroyWindow(window);
}

// The X window went, or the native window it lives in: the core window follows through DestroyWindow.
static void nativeWindowDestroyed(Window xwindow) {
    std::vector<HWND> gone;
    for (X11Window& w : x11State().windows) {
        if (w.xwindow == xwindow) w.nativeGone = true;
        if (w.xwindow == xwindow || (w.nativeParent != 0 && w.nativeParent == xwindow))
            gone.push_back(w.window);
    }
    destroyWindows(gone);
}

static void dispatchEvent(XEvent& event) {
    switch (event.type) {
    case KeyPress: {
        X11Window* w = x11FindByXWindow(event.xkey.window);
        if (w == nullptr) return;
        KeySym key = XLookupKeysym(&event.xkey, 0);
        bool alt = (event.xkey.state & Mod1Mask) != 0 || key == XK_F10;
        LPARAM info = 1 | (static_cast<LPARAM>(event.xkey.keycode & 0xFF) << 16);
        platformPostInput(w->window, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, virtualKey(key), info);
        return;
    }
    case ButtonPress: {
        X11Window* w = x11FindByXWindow(event.xbutton.window);
        if (w == nullptr) return;
        UINT message = event.xbutton.button == Button1   ? WM_LBUTTONDOWN
                       : event.xbutton.button == Button2 ? WM_MBUTTONDOWN
                       : event.xbutton.button == Button3 ? WM_RBUTTONDOWN
                                                         : 0;
        platformCursorMoved(event.xbutton.x_root, event.xbutton.y_root);
        if (message != 0)
            platformPostInput(w->window, message, 0, MAKELPARAM(event.xbutton.x, event.xbutton.y));
        return;
    }
    case MotionNotify: {
        X11Window* w = x11FindByXWindow(event.xmotion.window);
        if (w == nullptr) return;
        platformCursorMoved(event.xmotion.x_root, event.xmotion.y_root);
        platformPostInput(w->window, WM_MOUSEMOVE, 0, MAKELPARAM(event.xmotion.x, event.xmotion.y));
        return;
    }
    case FocusOut: {
        X11Window* w = x11FindByXWindow(event.xfocus.window);
        // Our own grabs move the focus too (NotifyGrab, NotifyUngrab); so does the pointer (NotifyPointer).
        bool byOthers = event.xfocus.mode == NotifyNormal || event.xfocus.mode == NotifyWhileGrabbed;
        bool lost = event.xfocus.detail == NotifyAncestor || event.xfocus.detail == NotifyNonlinear ||
                    event.xfocus.detail == NotifyVirtual || event.xfocus.detail == NotifyNonlinearVirtual;
        if (w != nullptr && byOthers && lost) platformPostInput(w->window, WM_ACTIVATEAPP, FALSE, 0);
        return;
    }
    case Expose: {
        X11Window* w = x11FindByXWindow(event.xexpose.window);
        if (w != nullptr && event.xexpose.count == 0) InvalidateRect(w->window, nullptr, FALSE);
        return;
    }
    case DestroyNotify:
        // Only what a window reports of itself: a child's destruction seen by its parent comes again.
        if (event.xdestroywindow.event == event.xdestroywindow.window)
            nativeWindowDestroyed(event.xdestroywindow.window);
        return;
    }
}

static void drainEvents() {
    Display* d = x11State().display;
    if (d == nullptr) return;
    while (XPending(d) > 0) {
        XEvent event;
        XNextEvent(d, &event);
        dispatchEvent(event);
    }
}

static void onTermination(int) {
    terminationRequested = 1;
    int fd = wakePipe[1];
    if (fd >= 0) {
        char byte = 1;
        ssize_t written = write(fd, &byte, 1);
        (void)written; // a full pipe already holds a wake-up
    }
}

// A pending SIGTERM destroys every saver window, top down; it stays pending while there is none.
static void handleTermination() {
    if (!terminationRequested) return;
    if (wakePipe[0] >= 0) {
        char bytes[64];
        while (read(wakePipe[0], bytes, sizeof(bytes)) > 0) {
        }
    }
    std::vector<HWND> topLevel;
    for (X11Window& w : x11State().windows)
        if (w.parent == nullptr || x11FindWindow(w.parent) == nullptr) topLevel.push_back(w.window);
    if (topLevel.empty()) return;
    terminationRequested = 0;
    destroyWindows(topLevel);
}

void surfaceWaitForInput(DWORD timeoutMs) {
    handleTermination();
    drainEvents();
    if (timeoutMs == 0) return;
    Display* d = x11State().display;
    pollfd watched[2];
    nfds_t count = 0;
    if (d != nullptr) watched[count++] = {ConnectionNumber(d), POLLIN, 0};
    if (wakePipe[0] >= 0) watched[count++] = {wakePipe[0], POLLIN, 0};
    DWORD wait = count == 0 ? std::min(timeoutMs, IDLE_WAIT_MS) : timeoutMs;
    int timeout = wait == WAIT_FOREVER ? -1 : static_cast<int>(std::min<DWORD>(wait, 0x7FFFFFFF));
    if (count == 0)
        usleep(static_cast<useconds_t>(timeout) * 1000u);
    else
        poll(watched, count, timeout);
    handleTermination();
    drainEvents();
}

// ---- Linux entry ----

unsigned long x11RootWindow() {
    Display* d = x11Display();
    return d != nullptr ? DefaultRootWindow(d) : 0;
}

void x11DestroyWindowsOnTermination() {
    if (wakePipe[0] < 0 && pipe(wakePipe) == 0) {
        for (int fd : wakePipe) {
            fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
            fcntl(fd, F_SETFD, FD_CLOEXEC);
        }
    }
    struct sigaction action = {};
    action.sa_handler = onTermination;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}
