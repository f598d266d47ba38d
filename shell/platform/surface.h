// The seam between the display-free core (emulated_win32.cpp) and a surface backend (offscreen.cpp,
// x11_glx.cpp). A target links exactly one backend; each defines every surface* function below plus the
// device-context, pixel-format, WGL and SwapBuffers calls of win32.h, with the same order of steps. Linux
// and other non-Windows targets only: on Windows the real system does all of this.
//
// The core owns windows as records (class, title, styles, geometry, parent, procedure, messages); a backend
// only gives a core window something to draw on and to take input from, and answers for native windows the
// core does not know, such as the preview parent handed over on the command line.
#pragma once

#include "shell/platform/win32.h"

// What a backend learns about a window the core is creating.
struct SurfaceWindow {
    HWND parent = nullptr; // a core window, a native window of the backend, or null for the screen
    DWORD style = 0;
    DWORD exStyle = 0;
    LPCSTR title = "";
    LPCSTR className = ""; // the window class's name: another process finds a saver by class and title
    int x = 0;             // relative to the parent's client area, or to the screen
    int y = 0;
    int width = 0;
    int height = 0;
};

// ---- Implemented by each backend, called by the core ----

// Called after the record exists and before WM_CREATE. False makes CreateWindowExA fail (no WM_CREATE, the
// window never existed), the way Windows fails when it cannot create a window.
BOOL surfaceCreateWindow(HWND window, const SurfaceWindow& description);
// Called once the window has been shown (WS_VISIBLE at creation) or hidden.
void surfaceShowWindow(HWND window, BOOL visible);
// Called after WM_DESTROY, with the record still readable; the backend lets go of everything it holds for
// the window (device context, buffers, native window). A context still current on it stops being current.
void surfaceDestroyWindow(HWND window);
// Raise and focus: a core window, or a native window the core does not know.
void surfaceSetForeground(HWND window);
// SetCursor(NULL) hides the pointer over the saver's windows; any other cursor shows it.
void surfaceSetCursorVisible(BOOL visible);

// Native windows the core does not know (a handle value that is not one of its records).
BOOL surfaceIsForeignWindow(HWND window);
BOOL surfaceForeignClientRect(HWND window, LPRECT rect);
BOOL surfacePostForeign(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
HWND surfaceFindForeignWindow(LPCSTR className, LPCSTR windowName);

// Blocks for at most timeoutMs (0xFFFFFFFF: until something arrives), turning native events into messages
// with platformPostInput / PostMessageA / InvalidateRect. The core calls it with 0 before every retrieval,
// so input is read even while a timer is always due, and with a timeout only when its queue is empty.
void surfaceWaitForInput(DWORD timeoutMs);

// ---- Implemented by the core, called by backends ----

// Queues an input message (key, button, motion, activation) for a core window. Unlike PostMessageA, mouse
// input first sends WM_SETCURSOR when it is retrieved, as the system does.
void platformPostInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The pointer's screen position, as GetCursorPos reports it.
void platformCursorMoved(LONG x, LONG y);
// The command line GetCommandLineA returns (a Linux entry builds one from its arguments).
void platformSetCommandLine(LPCSTR commandLine);
