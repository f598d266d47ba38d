// The display-free core of our Win32 layer: window classes, windows as records, the message queue, timers,
// the cursor, the foreground window and modal dialogs. Non-Windows targets only. It keeps the semantics the
// shell relies on: PostMessageA queues and SendMessageA calls the procedure at once; WM_PAINT and WM_TIMER
// are made only when the queue is empty, and a timer never piles up; DefWindowProcA turns WM_CLOSE into
// DestroyWindow, which sends WM_DESTROY; GetMessageA returns 0 on WM_QUIT. Whatever a window needs of a
// display goes through surface.h. It cannot load dialog templates (there are no resources here): only a
// template a test registers opens, any other fails with -1 as a missing template does on Windows.
#include "shell/platform/emulated_state.h"
#include "shell/platform/surface.h"

#include <algorithm>
#include <cctype>

// Windows raises shorter timer periods to this.
static const UINT USER_TIMER_MINIMUM = 10;
static const DWORD WAIT_FOREVER = 0xFFFFFFFFu;
// With a simulated clock and nothing scheduled, a wait still lets this much time pass.
static const DWORD IDLE_WAIT_MS = 10;
static const UINT FIRST_REGISTERED_MESSAGE = 0xC000;

PlatformState& platformState() {
    static PlatformState state;
    return state;
}

std::string upperCase(LPCSTR text) {
    std::string result = text != nullptr ? text : "";
    for (char& c : result)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

HWND handleFromValue(UINT_PTR value) {
    return reinterpret_cast<HWND>(value);
}

WindowRecord* windowRecord(HWND window) {
    auto& windows = platformState().windows;
    auto found = windows.find(reinterpret_cast<UINT_PTR>(window));
    return found != windows.end() ? &found->second : nullptr;
}

WindowRecord* liveWindow(HWND window) {
    WindowRecord* record = windowRecord(window);
    return record != nullptr && record->alive ? record : nullptr;
}

// A live window of this process, the only kind that has a procedure to call.
static WindowRecord* ownWindow(HWND window) {
    WindowRecord* record = liveWindow(window);
    return record != nullptr && !record->foreign ? record : nullptr;
}

static WindowClassRecord* findClass(LPCSTR name) {
    if (name == nullptr || IS_INTRESOURCE(name)) return nullptr;
    std::string key = upperCase(name);
    for (WindowClassRecord& c : platformState().classes)
        if (c.name == key) return &c;
    return nullptr;
}

// ---- Window class and window ----

ATOM RegisterClassA(const WNDCLASSA* windowClass) {
    if (windowClass == nullptr || windowClass->lpfnWndProc == nullptr ||
        windowClass->lpszClassName == nullptr || IS_INTRESOURCE(windowClass->lpszClassName) ||
        findClass(windowClass->lpszClassName) != nullptr)
        return 0;
    auto& classes = platformState().classes;
    WindowClassRecord record;
    record.name = upperCase(windowClass->lpszClassName);
    record.style = windowClass->style;
    record.procedure = windowClass->lpfnWndProc;
    record.cursor = windowClass->hCursor;
    classes.push_back(record);
    return static_cast<ATOM>(FIRST_REGISTERED_MESSAGE + classes.size() - 1);
}

static bool isTopLevel(const WindowRecord& record) {
    return (record.style & WS_CHILD) == 0;
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    PlatformState& state = platformState();
    WindowClassRecord* windowClass = findClass(className);
    if (windowClass == nullptr || state.failWindowCreation) return nullptr;
    // A child needs a parent; an owner, when given, must exist.
    if ((style & WS_CHILD) != 0 && parent == nullptr) return nullptr;
    if (parent != nullptr && !IsWindow(parent)) return nullptr;

    HWND window = handleFromValue(state.nextWindow);
    state.nextWindow += 2;
    WindowRecord& record = state.windows[reinterpret_cast<UINT_PTR>(window)];
    record.handle = window;
    record.className = className;
    record.title = windowName != nullptr ? windowName : "";
    record.style = style;
    record.exStyle = exStyle;
    record.x = x;
    record.y = y;
    record.width = std::max(width, 0);
    record.height = std::max(height, 0);
    record.parent = parent;
    record.procedure = windowClass->procedure;
    record.classCursor = windowClass->cursor;

    SurfaceWindow description;
    description.parent = parent;
    description.style = style;
    description.exStyle = exStyle;
    description.title = record.title.c_str();
    description.className = record.className.c_str();
    description.x = x;
    description.y = y;
    description.width = record.width;
    description.height = record.height;
    if (!surfaceCreateWindow(window, description)) {
        state.windows.erase(reinterpret_cast<UINT_PTR>(window));
        return nullptr;
    }

    CREATESTRUCTA create = {
        param,      instance,  menu,   parent, record.height, record.width, y, x, static_cast<LONG>(style),
        windowName, className, exStyle};
    if (SendMessageA(window, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        DestroyWindow(window);
        return nullptr;
    }
    WindowRecord* created = ownWindow(window);
    if (created == nullptr) return nullptr; // destroyed itself while being created
    if ((style & WS_VISIBLE) != 0) {
        created->visible = true;
        created->needsPaint = true;
        SendMessageA(window, WM_SHOWWINDOW, TRUE, 0);
        surfaceShowWindow(window, TRUE);
    }
    return IsWindow(window) ? window : nullptr;
}

void destroyWindowRecord(HWND window) {
    PlatformState& state = platformState();
    WindowRecord* record = liveWindow(window);
    if (record == nullptr || record->destroying) return;
    record->destroying = true;
    bool foreign = record->foreign;
    if (!foreign) SendMessageA(window, WM_DESTROY, 0, 0);
    // Children and owned windows go with their parent.
    std::vector<HWND> dependants;
    for (auto& entry : state.windows)
        if (entry.second.alive && entry.second.parent == window) dependants.push_back(entry.second.handle);
    for (HWND dependant : dependants)
        destroyWindowRecord(dependant);
    state.timers.erase(std::remove_if(state.timers.begin(), state.timers.end(),
                                      [window](const TimerRecord& t) { return t.window == window; }),
                       state.timers.end());
    if (state.foreground == window) state.foreground = nullptr;
    if (!foreign) surfaceDestroyWindow(window);
    record = windowRecord(window);
    record->alive = false;
    record->visible = false;
}

BOOL DestroyWindow(HWND window) {
    WindowRecord* record = ownWindow(window);
    if (record == nullptr || record->destroying) return FALSE;
    destroyWindowRecord(window);
    return TRUE;
}

BOOL IsWindow(HWND window) {
    if (window == nullptr) return FALSE;
    if (WindowRecord* record = windowRecord(window)) return record->alive ? TRUE : FALSE;
    return surfaceIsForeignWindow(window);
}

HWND FindWindowA(LPCSTR className, LPCSTR windowName) {
    std::string classKey = upperCase(className);
    for (auto& entry : platformState().windows) {
        const WindowRecord& record = entry.second;
        if (!record.alive) continue;
        if (className != nullptr && upperCase(record.className.c_str()) != classKey) continue;
        if (windowName != nullptr && record.title != windowName) continue;
        return record.handle;
    }
    return surfaceFindForeignWindow(className, windowName);
}

HWND GetParent(HWND window) {
    WindowRecord* record = liveWindow(window);
    return record != nullptr ? record->parent : nullptr;
}

BOOL GetClientRect(HWND window, LPRECT rect) {
    if (rect == nullptr) return FALSE;
    if (WindowRecord* record = windowRecord(window)) {
        if (!record->alive) return FALSE;
        *rect = {0, 0, record->width, record->height};
        return TRUE;
    }
    return surfaceForeignClientRect(window, rect);
}

BOOL InvalidateRect(HWND window, const RECT*, BOOL) {
    if (window == nullptr) {
        for (auto& entry : platformState().windows)
            if (entry.second.alive && !entry.second.foreign) entry.second.needsPaint = true;
        return TRUE;
    }
    WindowRecord* record = ownWindow(window);
    if (record == nullptr) return FALSE;
    record->needsPaint = true;
    return TRUE;
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowRecord* record = ownWindow(window);
    if (record == nullptr) return 0;
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_PAINT:
        record->needsPaint = false;
        return 0;
    case WM_SETCURSOR:
        // The class cursor, if there is one; a class without one leaves the cursor alone.
        if (LOWORD(lParam) == HTCLIENT && record->classCursor != nullptr) SetCursor(record->classCursor);
        return FALSE;
    case WM_SETTEXT:
        record->title = lParam != 0 ? reinterpret_cast<LPCSTR>(lParam) : "";
        return TRUE;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_CLOSE:
            SendMessageA(window, WM_CLOSE, 0, 0);
            return 0;
        case SC_SCREENSAVE:
            // The system would start the configured screen saver.
            ++platformState().screenSaveRequests;
            return 0;
        }
        return 0;
    }
    return 0;
}

HICON LoadIconA(HINSTANCE, LPCSTR) {
    return nullptr;
} // no resources on this platform

HGDIOBJ GetStockObject(int object) {
    // Stock objects are fixed handles; 0 to 19 exist.
    if (object < 0 || object > 19) return nullptr;
    return reinterpret_cast<HGDIOBJ>(static_cast<UINT_PTR>(0x01900010 + object));
}

// ---- Message queue and timers ----

static bool inFilter(UINT message, UINT filterMin, UINT filterMax) {
    return (filterMin == 0 && filterMax == 0) || (message >= filterMin && message <= filterMax);
}

static bool isMouseMessage(UINT message) {
    return message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN ||
           message == WM_MBUTTONDOWN;
}

static MSG makeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG made = {};
    made.hwnd = window;
    made.message = message;
    made.wParam = wParam;
    made.lParam = lParam;
    made.time = GetTickCount();
    made.pt = platformState().cursor;
    return made;
}

// One retrieval in the order Windows uses: posted and input messages, quit, paint, timers.
static bool retrieveMessage(MSG* out, HWND window, UINT filterMin, UINT filterMax, bool remove) {
    PlatformState& state = platformState();
    auto windowMatches = [window](HWND target) { return window == nullptr || target == window; };
    for (auto it = state.queue.begin(); it != state.queue.end(); ++it) {
        if (!windowMatches(it->message.hwnd) || !inFilter(it->message.message, filterMin, filterMax))
            continue;
        *out = it->message;
        bool setCursor = it->input && isMouseMessage(out->message);
        if (remove) {
            state.queue.erase(it);
            if (setCursor && ownWindow(out->hwnd) != nullptr)
                SendMessageA(out->hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(out->hwnd),
                             MAKELPARAM(HTCLIENT, out->message));
        }
        return true;
    }
    if (state.quitPosted && inFilter(WM_QUIT, filterMin, filterMax)) {
        *out = makeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(state.quitCode), 0);
        if (remove) state.quitPosted = false;
        return true;
    }
    if (inFilter(WM_PAINT, filterMin, filterMax)) {
        for (auto& entry : state.windows) {
            const WindowRecord& record = entry.second;
            if (record.alive && !record.foreign && record.visible && record.needsPaint &&
                windowMatches(record.handle)) {
                // Stays pending until the window validates itself.
                *out = makeMessage(record.handle, WM_PAINT, 0, 0);
                return true;
            }
        }
    }
    if (inFilter(WM_TIMER, filterMin, filterMax)) {
        DWORD now = GetTickCount();
        for (TimerRecord& timer : state.timers) {
            if (!windowMatches(timer.window) || now - timer.lastFired < timer.periodMs) continue;
            *out = makeMessage(timer.window, WM_TIMER, timer.id, reinterpret_cast<LPARAM>(timer.procedure));
            if (remove) timer.lastFired = now;
            return true;
        }
    }
    return false;
}

// Nothing to retrieve: wait for the next timer, or for the surface to bring something.
static void waitForMessage(HWND window) {
    PlatformState& state = platformState();
    DWORD timeout = WAIT_FOREVER;
    DWORD now = GetTickCount();
    for (const TimerRecord& timer : state.timers) {
        if (window != nullptr && timer.window != window) continue;
        DWORD elapsed = now - timer.lastFired;
        timeout = std::min(timeout, elapsed >= timer.periodMs ? 0 : timer.periodMs - elapsed);
    }
    if (state.manualClock) {
        // Simulated time passes while we wait.
        state.manualTicks += timeout != WAIT_FOREVER ? timeout : IDLE_WAIT_MS;
        surfaceWaitForInput(0);
    } else {
        surfaceWaitForInput(timeout);
    }
}

BOOL GetMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax) {
    if (message == nullptr) return -1;
    PlatformState& state = platformState();
    bool idleRan = false;
    for (;;) {
        // The system reads its input devices before it makes paint and timer messages; a frame timer that
        // is always due would otherwise keep the surface's input from ever being read.
        surfaceWaitForInput(0);
        if (retrieveMessage(message, window, filterMin, filterMax, true))
            return message->message == WM_QUIT ? FALSE : TRUE;
        // A test's script runs once each time the queue runs dry, never inside itself.
        if (!idleRan && state.idleHook && !state.inIdleHook) {
            idleRan = true;
            std::function<void()> hook = state.idleHook;
            state.inIdleHook = true;
            hook();
            platformState().inIdleHook = false;
            continue;
        }
        waitForMessage(window);
        idleRan = false;
    }
}

BOOL PeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
    if (message == nullptr) return FALSE;
    return retrieveMessage(message, window, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0) ? TRUE
                                                                                                  : FALSE;
}

BOOL TranslateMessage(const MSG*) {
    return FALSE;
} // no character messages: the shell needs none

LRESULT DispatchMessageA(const MSG* message) {
    if (message == nullptr) return 0;
    WindowRecord* record = ownWindow(message->hwnd);
    if (record == nullptr || record->procedure == nullptr) return 0;
    if (message->message == WM_TIMER && message->lParam != 0) {
        reinterpret_cast<TIMERPROC>(message->lParam)(message->hwnd, WM_TIMER, message->wParam, message->time);
        return 0;
    }
    WNDPROC procedure = record->procedure;
    return procedure(message->hwnd, message->message, message->wParam, message->lParam);
}

static void logPost(const MSG& posted) {
    std::deque<MSG>& log = platformState().postLog;
    if (log.size() == POST_LOG_CAPACITY) log.pop_front();
    log.push_back(posted);
}

static BOOL queueMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool input) {
    PlatformState& state = platformState();
    MSG posted = makeMessage(window, message, wParam, lParam);
    if (window == nullptr) { // a thread message
        logPost(posted);
        state.queue.push_back({posted, input});
        return TRUE;
    }
    if (WindowRecord* record = windowRecord(window)) {
        if (!record->alive) return FALSE;
        logPost(posted);
        if (record->foreign)
            record->inbox.push_back(posted);
        else
            state.queue.push_back({posted, input});
        return TRUE;
    }
    if (!surfacePostForeign(window, message, wParam, lParam)) return FALSE;
    logPost(posted);
    return TRUE;
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return queueMessage(window, message, wParam, lParam, false);
}

void platformPostInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    queueMessage(window, message, wParam, lParam, true);
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowRecord* record = ownWindow(window);
    if (record == nullptr || record->procedure == nullptr) return 0;
    WNDPROC procedure = record->procedure;
    return procedure(window, message, wParam, lParam);
}

void PostQuitMessage(int exitCode) {
    platformState().quitPosted = true;
    platformState().quitCode = exitCode;
}

UINT RegisterWindowMessageA(LPCSTR name) {
    if (name == nullptr || *name == '\0') return 0;
    auto& names = platformState().registeredMessages;
    std::string key = upperCase(name);
    auto found = std::find(names.begin(), names.end(), key);
    if (found == names.end()) found = names.insert(names.end(), key);
    return FIRST_REGISTERED_MESSAGE + static_cast<UINT>(found - names.begin());
}

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapseMs, TIMERPROC timerProc) {
    // Only window timers: the shell never asks for a thread timer.
    if (ownWindow(window) == nullptr) return 0;
    auto& timers = platformState().timers;
    auto found = std::find_if(timers.begin(), timers.end(),
                              [&](const TimerRecord& t) { return t.window == window && t.id == id; });
    if (found == timers.end()) found = timers.insert(timers.end(), TimerRecord{});
    found->window = window;
    found->id = id;
    found->periodMs = std::max(elapseMs, USER_TIMER_MINIMUM);
    found->lastFired = GetTickCount();
    found->procedure = timerProc;
    return id;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
    auto& timers = platformState().timers;
    auto found = std::find_if(timers.begin(), timers.end(),
                              [&](const TimerRecord& t) { return t.window == window && t.id == id; });
    if (found == timers.end()) return FALSE;
    timers.erase(found);
    return TRUE;
}

// ---- Cursor, foreground window ----

HCURSOR SetCursor(HCURSOR cursor) {
    PlatformState& state = platformState();
    HCURSOR previous = state.cursorShape;
    state.cursorShape = cursor;
    if (cursor == nullptr) ++state.cursorHides;
    surfaceSetCursorVisible(cursor != nullptr ? TRUE : FALSE);
    return previous;
}

BOOL GetCursorPos(LPPOINT point) {
    if (point == nullptr) return FALSE;
    *point = platformState().cursor;
    return TRUE;
}

void platformCursorMoved(LONG x, LONG y) {
    platformState().cursor = {x, y};
}

HWND GetForegroundWindow() {
    HWND foreground = platformState().foreground;
    return IsWindow(foreground) ? foreground : nullptr;
}

// Sends WM_ACTIVATEAPP to every top-level window of this process.
static void notifyActivation(BOOL active) {
    std::vector<HWND> topLevel;
    for (auto& entry : platformState().windows)
        if (entry.second.alive && !entry.second.foreign && isTopLevel(entry.second))
            topLevel.push_back(entry.second.handle);
    for (HWND window : topLevel)
        SendMessageA(window, WM_ACTIVATEAPP, static_cast<WPARAM>(active), 0);
}

BOOL SetForegroundWindow(HWND window) {
    if (!IsWindow(window)) return FALSE;
    PlatformState& state = platformState();
    bool wasActive = ownWindow(state.foreground) != nullptr;
    bool nowActive = ownWindow(window) != nullptr;
    state.foreground = window;
    surfaceSetForeground(window);
    if (wasActive != nowActive) notifyActivation(nowActive ? TRUE : FALSE);
    return TRUE;
}

// ---- Modal dialogs ----

static LRESULT CALLBACK dialogWindowProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowRecord* record = ownWindow(dialog);
    if (record == nullptr || record->dialogProcedure == nullptr) return 0;
    DLGPROC procedure = record->dialogProcedure;
    INT_PTR handled = procedure(dialog, message, wParam, lParam);
    // Closing an unhandled dialog means Cancel, as the system's dialog procedure does it.
    if (!handled && message == WM_CLOSE) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    return handled;
}

INT_PTR DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC dialogProc,
                        LPARAM param) {
    PlatformState& state = platformState();
    if (dialogProc == nullptr || !IS_INTRESOURCE(templateName)) return -1;
    int id = LOWORD(templateName);
    if (std::find(state.dialogTemplates.begin(), state.dialogTemplates.end(), id) ==
        state.dialogTemplates.end())
        return -1;
    if (owner != nullptr && !IsWindow(owner)) return -1;

    static const char DIALOG_CLASS[] = "#32770";
    if (findClass(DIALOG_CLASS) == nullptr) {
        WNDCLASSA dialogClass = {};
        dialogClass.lpfnWndProc = dialogWindowProc;
        dialogClass.hInstance = instance;
        dialogClass.lpszClassName = DIALOG_CLASS;
        RegisterClassA(&dialogClass);
    }
    HWND dialog = handleFromValue(state.nextWindow);
    state.nextWindow += 2;
    WindowRecord& record = state.windows[reinterpret_cast<UINT_PTR>(dialog)];
    record.handle = dialog;
    record.className = DIALOG_CLASS;
    record.style = WS_POPUP | WS_VISIBLE;
    record.width = 240;
    record.height = 120;
    record.parent = owner;
    record.procedure = dialogWindowProc;
    record.dialog = true;
    record.dialogProcedure = dialogProc;
    SurfaceWindow description;
    description.parent = owner;
    description.style = record.style;
    description.width = record.width;
    description.height = record.height;
    if (!surfaceCreateWindow(dialog, description)) {
        state.windows.erase(reinterpret_cast<UINT_PTR>(dialog));
        return -1;
    }
    SendMessageA(dialog, WM_INITDIALOG, 0, param);
    if (WindowRecord* shown = ownWindow(dialog)) {
        shown->visible = true;
        surfaceShowWindow(dialog, TRUE);
    }

    INT_PTR result = -1;
    MSG message = {};
    for (;;) {
        WindowRecord* current = ownWindow(dialog);
        if (current == nullptr) break;
        if (current->dialogEnded) {
            result = current->dialogResult;
            break;
        }
        BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got <= 0) {
            // The quit belongs to the caller's loop.
            if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    DestroyWindow(dialog);
    return result;
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    WindowRecord* record = ownWindow(dialog);
    if (record == nullptr || !record->dialog) return FALSE;
    record->dialogEnded = true;
    record->dialogResult = result;
    return TRUE;
}
