// The saver window: its creation in full-screen or preview mode, the message loop, and the two procedures
// around the scene's own: saverWindowProc pre-handles platform conventions, defaultSaverProc closes on
// input (after the password check where the platform has one). Closes are always posted, never sent, so
// every close comes back through WM_CLOSE and the check.
#include "shell/saver_shell.h"

#include <cstdlib>

static void hideCursor() {
    SetCursor(nullptr);
}

// |dx| + |dy| in 64 bits: no overflow for any pair of screen positions.
static unsigned long long cursorDistance(POINT from, POINT to) {
    long long dx = static_cast<long long>(to.x) - static_cast<long long>(from.x);
    long long dy = static_cast<long long>(to.y) - static_cast<long long>(from.y);
    return static_cast<unsigned long long>(std::llabs(dx)) + static_cast<unsigned long long>(std::llabs(dy));
}

int runSaverWindow(HWND parent) {
    bool fullScreen = parent == nullptr;
    RECT area = {0, 0, 0, 0};
    if (fullScreen) {
        // A second start brings the running saver forward instead.
        HWND running = FindWindowA(SAVER_CLASS_NAME, FULL_SCREEN_TITLE);
        if (running != nullptr && IsWindow(running)) {
            SetForegroundWindow(running);
            return 0;
        }
        loadPasswordVerifier();
        HDC screen = GetDC(nullptr);
        GetClipBox(screen, &area);
        ReleaseDC(nullptr, screen);
    } else {
        GetClientRect(parent, &area);
        isPreview = true;
    }
    if (isWin32Windows) autoPlayCancelMessage = RegisterWindowMessageA(AUTOPLAY_MESSAGE_NAME);

    WNDCLASSA saverClass = {};
    saverClass.style = SAVER_CLASS_STYLE;
    saverClass.lpfnWndProc = saverWindowProc;
    saverClass.hInstance = saverInstance;
    saverClass.hIcon = LoadIconA(saverInstance, MAKEINTRESOURCEA(APP_ICON_ID));
    saverClass.hCursor = nullptr;
    saverClass.hbrBackground = reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    saverClass.lpszMenuName = nullptr;
    saverClass.lpszClassName = SAVER_CLASS_NAME;

    // Without a window there is no quit message to take the code from.
    int exitCode = SAVER_EXIT_FAILURE;
    if (RegisterClassA(&saverClass) != 0) {
        if (fullScreen)
            saverWindow = CreateWindowExA(FULL_SCREEN_EX_STYLE, SAVER_CLASS_NAME, FULL_SCREEN_TITLE,
                                          FULL_SCREEN_STYLE, area.left, area.top, area.right - area.left,
                                          area.bottom - area.top, nullptr, nullptr, saverInstance, nullptr);
        else
            saverWindow =
                CreateWindowExA(PREVIEW_EX_STYLE, SAVER_CLASS_NAME, PREVIEW_TITLE, PREVIEW_STYLE, 0, 0,
                                area.right, area.bottom, parent, nullptr, saverInstance, nullptr);
    }
    if (saverWindow != nullptr) {
        if (fullScreen) SetForegroundWindow(saverWindow);
        MSG message = {};
        BOOL got;
        while ((got = GetMessageA(&message, nullptr, 0, 0)) > 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (got == 0) exitCode = static_cast<int>(message.wParam);
    }
    unloadPasswordVerifier();
    return exitCode;
}

LRESULT CALLBACK saverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        // Keep input methods from popping up over the saver; the context goes back on destruction.
        inputMethodModule = GetModuleHandleA(INPUT_METHOD_MODULE);
        if (inputMethodModule != nullptr) {
            associateContext = reinterpret_cast<AssociateContextFunction>(
                reinterpret_cast<void (*)()>(GetProcAddress(inputMethodModule, ASSOCIATE_CONTEXT_NAME)));
            if (associateContext != nullptr) savedInputContext = associateContext(window, nullptr);
        }
        GetCursorPos(&lastCursorPos);
        if (!isPreview) hideCursor();
        break;
    case WM_DESTROY:
        if (inputMethodModule != nullptr && associateContext != nullptr && savedInputContext != nullptr)
            associateContext(window, savedInputContext);
        PostQuitMessage(0);
        break;
    case WM_SETTEXT:
        return 0; // the title never changes
    case WM_PAINT:
        if (isClosing) return DefWindowProcA(window, message, wParam, lParam);
        if (!isPreview) hideCursor();
        break;
    case WM_HELP:
    case WM_CONTEXTMENU:
        if (isPreview) {
            // Help for the preview belongs to the dialog hosting it.
            HWND parent = GetParent(window);
            if (parent != nullptr) PostMessageA(parent, message, reinterpret_cast<WPARAM>(parent), lParam);
            return 1;
        }
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (isClosing) return DefWindowProcA(window, message, wParam, lParam);
        break;
    case WM_SYSCOMMAND:
        if (!isPreview && (wParam == SC_NEXTWINDOW || wParam == SC_PREVWINDOW || wParam == SC_SCREENSAVE))
            return 0;
        break;
    case WM_TIMER:
        if (isClosing) return 0; // no more frames
        Sleep(0);
        break;
    }
    return sceneWindowProc(window, message, wParam, lParam);
}

LRESULT CALLBACK defaultSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!isPreview && !isClosing) {
        if (message == WM_CLOSE) {
            if (isWin32Windows && !checkPasswordOnClose(window)) {
                GetCursorPos(&lastCursorPos);
                return 0;
            }
        } else if (message == VERIFY_PASSWORD_REQUEST && isWin32Windows) {
            return verifyPassword != nullptr ? verifyPassword(window) : 1;
        } else if (!isCheckingPassword) {
            switch (message) {
            case WM_SHOWWINDOW:
                if (wParam != 0) hideCursor();
                break;
            case WM_ACTIVATEAPP:
                if (wParam == 0) PostMessageA(window, WM_CLOSE, 0, 0);
                break;
            case WM_SETCURSOR:
                hideCursor();
                return 1;
            case WM_POWER:
                if (wParam == POWER_CRITICAL_RESUME) PostMessageA(window, WM_CLOSE, 0, 0);
                break;
            case WM_POWERBROADCAST:
            case WM_KEYDOWN:
            case WM_SYSKEYDOWN:
            case WM_LBUTTONDOWN:
            case WM_RBUTTONDOWN:
            case WM_MBUTTONDOWN:
                PostMessageA(window, WM_CLOSE, 0, 0);
                break;
            case WM_MOUSEMOVE: {
                // Measured on the screen from the recorded position, not from the message.
                POINT now = lastCursorPos;
                GetCursorPos(&now);
                if (cursorDistance(lastCursorPos, now) > MOUSE_MOVE_TOLERANCE) {
                    PostMessageA(window, WM_CLOSE, 0, 0);
                    lastCursorPos = now;
                }
                break;
            }
            }
        }
    }
    if (autoPlayCancelMessage != 0 && message == autoPlayCancelMessage) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        return verifyPassword != nullptr ? 1 : 0; // cancels the platform's autoplay
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
