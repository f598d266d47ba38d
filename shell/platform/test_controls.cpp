// Test controls over the display-free core's records. Linked only into tests and fuzzers.
#include "shell/platform/test_controls.h"

#include "shell/platform/emulated_state.h"
#include "shell/platform/surface.h"

#include <algorithm>
#include <cstring>

void testResetPlatform() {
    PlatformState& state = platformState();
    // The backend lets go of what it holds for our windows; nobody is told, as when a process ends.
    for (auto& entry : state.windows)
        if (entry.second.alive && !entry.second.foreign) surfaceDestroyWindow(entry.second.handle);
    state = PlatformState{};
}

void testSetTickCount(DWORD milliseconds) {
    platformState().manualClock = true;
    platformState().manualTicks = milliseconds;
}

void testSetPlatformId(DWORD platformId) {
    platformState().platformId = platformId;
}

void testSetRegistryValue(LPCSTR keyPath, LPCSTR valueName, DWORD type, const void* data, DWORD size) {
    RegistryValue value;
    value.type = type;
    const BYTE* bytes = static_cast<const BYTE*>(data);
    value.data.assign(bytes, bytes + size);
    platformState().registry[upperCase(keyPath)][upperCase(valueName)] = value;
}

void testSetRegistryDword(LPCSTR keyPath, LPCSTR valueName, DWORD value) {
    testSetRegistryValue(keyPath, valueName, REG_DWORD, &value, sizeof(value));
}

void testAddModule(LPCSTR name, const std::vector<TestExport>& exports, bool resident) {
    ModuleRecord record;
    record.name = upperCase(name);
    for (const TestExport& e : exports)
        record.exports.emplace_back(e.name, e.procedure);
    record.resident = resident;
    platformState().modules.push_back(record);
}

int testModuleLoadCount(LPCSTR name) {
    std::string key = upperCase(name);
    for (const ModuleRecord& record : platformState().modules)
        if (record.name == key) return record.loadCount;
    return 0;
}

HWND testAddForeignWindow(UINT_PTR handleValue, int width, int height, LPCSTR className, LPCSTR title) {
    PlatformState& state = platformState();
    if (handleValue == 0 || state.windows.count(handleValue) != 0) return nullptr;
    WindowRecord& record = state.windows[handleValue];
    record.handle = handleFromValue(handleValue);
    record.className = className != nullptr ? className : "";
    record.title = title != nullptr ? title : "";
    record.style = WS_VISIBLE;
    record.width = width;
    record.height = height;
    record.foreign = true;
    record.visible = true;
    return record.handle;
}

void testDestroyForeignWindow(HWND window) {
    WindowRecord* record = liveWindow(window);
    if (record != nullptr && record->foreign) destroyWindowRecord(window);
}

std::vector<MSG> testForeignInbox(HWND window) {
    WindowRecord* record = windowRecord(window);
    return record != nullptr ? record->inbox : std::vector<MSG>{};
}

void testSetCursorPos(LONG x, LONG y) {
    platformCursorMoved(x, y);
}

void testMoveMouse(HWND window, LONG x, LONG y) {
    platformCursorMoved(x, y);
    WindowRecord* record = liveWindow(window);
    LONG clientX = record != nullptr ? x - record->x : x;
    LONG clientY = record != nullptr ? y - record->y : y;
    platformPostInput(window, WM_MOUSEMOVE, 0, MAKELPARAM(clientX, clientY));
}

void testInjectInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    platformPostInput(window, message, wParam, lParam);
}

void testShowCursor() {
    platformState().cursorShape = DEFAULT_CURSOR;
}

bool testCursorHidden() {
    return platformState().cursorShape == nullptr;
}

int testCursorHideCount() {
    return platformState().cursorHides;
}

std::vector<MSG> testPostedMessages() {
    const auto& log = platformState().postLog;
    return std::vector<MSG>(log.begin(), log.end());
}

int testPostedCount(HWND window, UINT message) {
    const auto& log = platformState().postLog;
    return static_cast<int>(std::count_if(
        log.begin(), log.end(), [&](const MSG& m) { return m.hwnd == window && m.message == message; }));
}

int testQueueLength() {
    return static_cast<int>(platformState().queue.size());
}

TestWindowInfo testWindowInfo(HWND window) {
    TestWindowInfo info;
    const WindowRecord* record = windowRecord(window);
    if (record == nullptr) return info;
    info.exists = true;
    info.alive = record->alive;
    info.visible = record->visible;
    info.dialog = record->dialog;
    info.className = record->className;
    info.title = record->title;
    info.style = record->style;
    info.exStyle = record->exStyle;
    info.x = record->x;
    info.y = record->y;
    info.width = record->width;
    info.height = record->height;
    info.parent = record->parent;
    return info;
}

std::vector<HWND> testLiveWindows() {
    std::vector<HWND> live;
    for (const auto& entry : platformState().windows)
        if (entry.second.alive && !entry.second.foreign) live.push_back(entry.second.handle);
    return live;
}

HWND testOpenDialog() {
    for (const auto& entry : platformState().windows)
        if (entry.second.alive && entry.second.dialog && !entry.second.dialogEnded)
            return entry.second.handle;
    return nullptr;
}

int testLiveTimerCount() {
    return static_cast<int>(platformState().timers.size());
}

void testSetIdleHook(std::function<void()> hook) {
    platformState().idleHook = std::move(hook);
}

void testFailWindowCreation(bool fail) {
    platformState().failWindowCreation = fail;
}

void testAddDialogTemplate(int id) {
    platformState().dialogTemplates.push_back(id);
}

BOOL testSaverRunningFlag() {
    return platformState().saverRunning;
}

int testScreenSaveRequests() {
    return platformState().screenSaveRequests;
}
