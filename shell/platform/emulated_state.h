// The records behind the display-free core: windows, classes, the message queue, timers, modules and the
// registry. Shared by emulated_win32.cpp, emulated_system.cpp and test_controls.cpp; nothing else includes
// it. Non-Windows targets only.
#pragma once

#include "shell/platform/win32.h"

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

struct WindowClassRecord {
    std::string name;
    UINT style = 0;
    WNDPROC procedure = nullptr;
    HCURSOR cursor = nullptr;
};

struct WindowRecord {
    HWND handle = nullptr;
    std::string className;
    std::string title;
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    HWND parent = nullptr; // the parent of a child window, the owner of a popup
    WNDPROC procedure = nullptr;
    HCURSOR classCursor = nullptr;
    bool alive = true;
    bool destroying = false;
    // A window of another process (a test's preview host): it has no procedure here, and what is posted to
    // it lands in its inbox.
    bool foreign = false;
    bool visible = false;
    bool needsPaint = false;
    bool dialog = false;
    DLGPROC dialogProcedure = nullptr;
    bool dialogEnded = false;
    INT_PTR dialogResult = 0;
    std::vector<MSG> inbox;
};

struct QueuedMessage {
    MSG message;
    bool input = false; // injected input: mouse messages send WM_SETCURSOR when retrieved
};

struct TimerRecord {
    HWND window = nullptr;
    UINT_PTR id = 0;
    UINT periodMs = 0;
    DWORD lastFired = 0;
    TIMERPROC procedure = nullptr;
};

struct ModuleRecord {
    std::string name; // upper case
    std::vector<std::pair<std::string, FARPROC>> exports;
    int loadCount = 0;
    bool resident = false; // already mapped into the process: GetModuleHandleA finds it without loading
};

struct RegistryValue {
    DWORD type = 0;
    std::vector<BYTE> data;
};

// Posted messages kept for the tests to read; bounded so a long run with a busy pointer stays small.
constexpr size_t POST_LOG_CAPACITY = 1024;
// Handles of core windows start here, clear of small numbers a test picks for a host window.
constexpr UINT_PTR FIRST_WINDOW_HANDLE = 0x10000;
// The cursor the process starts with; SetCursor(NULL) hides it.
#define DEFAULT_CURSOR ((HCURSOR)(UINT_PTR)0x10003)

struct PlatformState {
    std::map<UINT_PTR, WindowRecord> windows;
    UINT_PTR nextWindow = FIRST_WINDOW_HANDLE;
    std::vector<WindowClassRecord> classes;
    std::deque<QueuedMessage> queue;
    bool quitPosted = false;
    int quitCode = 0;
    std::vector<TimerRecord> timers;
    std::vector<std::string> registeredMessages;
    HWND foreground = nullptr;
    POINT cursor = {0, 0};
    HCURSOR cursorShape = DEFAULT_CURSOR;
    int cursorHides = 0;
    std::deque<MSG> postLog;
    std::function<void()> idleHook;
    bool inIdleHook = false;
    bool failWindowCreation = false;
    std::vector<int> dialogTemplates;
    int screenSaveRequests = 0;

    DWORD platformId = VER_PLATFORM_WIN32_NT;
    bool manualClock = false;
    DWORD manualTicks = 0;
    std::vector<ModuleRecord> modules;
    std::map<std::string, std::map<std::string, RegistryValue>> registry; // key path -> value name -> value
    std::map<UINT_PTR, std::string> openKeys;
    UINT_PTR nextKey = 0x100;
    BOOL saverRunning = FALSE;
    LPTOP_LEVEL_EXCEPTION_FILTER faultFilter = nullptr;
    std::string commandLine;
};

PlatformState& platformState();
// A window record by handle, alive or not; null for a handle the core never issued.
WindowRecord* windowRecord(HWND window);
// A live window record, ours or foreign.
WindowRecord* liveWindow(HWND window);
// Case-insensitive names, as Windows compares class, module, key and message names.
std::string upperCase(LPCSTR text);
HWND handleFromValue(UINT_PTR value);
// Destroys a window and its children; for a foreign window sends nothing to it but destroys our children.
void destroyWindowRecord(HWND window);
