// Controls over the display-free core, for tests and fuzzers only: set the clock, the pointer, the platform
// id, registry values and in-process modules; inject input; script what happens each time the queue runs
// dry; read back what the shell did (cursor hidden, messages posted, windows alive). Non-Windows only.
#pragma once

#include "shell/platform/win32.h"

#include <functional>
#include <string>
#include <vector>

// Forgets every window (backend windows included), class, message, timer, module, registry value and
// setting: a fresh process on the NT platform with the real clock.
void testResetPlatform();

// The clock: from the first call on, GetTickCount returns this and only waits and Sleep move it on.
void testSetTickCount(DWORD milliseconds);
void testSetPlatformId(DWORD platformId);

// Registry values under HKEY_CURRENT_USER (the key is created with its first value).
void testSetRegistryValue(LPCSTR keyPath, LPCSTR valueName, DWORD type, const void* data, DWORD size);
void testSetRegistryDword(LPCSTR keyPath, LPCSTR valueName, DWORD value);

// An in-process module with its entry points. A resident module is already mapped into the process
// (GetModuleHandleA finds it); any other one appears only through LoadLibraryA.
struct TestExport {
    const char* name;
    FARPROC procedure;
};
void testAddModule(LPCSTR name, const std::vector<TestExport>& exports, bool resident = false);
// LoadLibraryA calls not yet matched by FreeLibrary.
int testModuleLoadCount(LPCSTR name);
// Casts any function to the FARPROC a module exports.
template <typename Function> FARPROC testProcedure(Function* function) {
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

// A window of another process (a preview host, a running saver) with a handle value of the test's
// choosing; what is posted to it is kept in its inbox.
HWND testAddForeignWindow(UINT_PTR handleValue, int width, int height, LPCSTR className = "TestHost",
                          LPCSTR title = "");
// Destroys a foreign window; its child windows (a preview) are destroyed with it.
void testDestroyForeignWindow(HWND window);
std::vector<MSG> testForeignInbox(HWND window);

// The pointer moves without a message; testMoveMouse also queues WM_MOUSEMOVE for the window.
void testSetCursorPos(LONG x, LONG y);
void testMoveMouse(HWND window, LONG x, LONG y);
// Queues an input message (key, button, activation) as the system would deliver it.
void testInjectInput(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Shows the cursor again, as a password prompt would.
void testShowCursor();
bool testCursorHidden();
// How many times SetCursor(NULL) was called.
int testCursorHideCount();

// Messages posted (PostMessageA) since the reset, oldest first; the count of one message to one window.
std::vector<MSG> testPostedMessages();
int testPostedCount(HWND window, UINT message);
// Messages waiting in the queue.
int testQueueLength();

struct TestWindowInfo {
    bool exists = false;
    bool alive = false;
    bool visible = false;
    bool dialog = false;
    std::string className;
    std::string title;
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    HWND parent = nullptr;
};
TestWindowInfo testWindowInfo(HWND window);
// Live windows of this process, in creation order.
std::vector<HWND> testLiveWindows();
// The open modal dialog, or null.
HWND testOpenDialog();
int testLiveTimerCount();

// Called each time GetMessageA finds the queue empty (never inside itself); null removes it.
void testSetIdleHook(std::function<void()> hook);
// The next CreateWindowExA calls fail the way they fail when no window can be created.
void testFailWindowCreation(bool fail);
// A dialog template the process carries (the shell's own binary carries none).
void testAddDialogTemplate(int id);

// The SPI_SCREENSAVERRUNNING flag, and how often the default procedure was asked to start a screen saver.
BOOL testSaverRunningFlag();
int testScreenSaveRequests();
