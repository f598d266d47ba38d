// The kernel and registry side of our Win32 layer: version record, tick count, Sleep, process exit, modules
// by name and the current user's registry, system parameters. Non-Windows targets only; needs no display.
// Nothing is loaded from disk: a module exists only when it is registered in-process (the tests register a
// password module), so on Linux "PASSWORD.CPL", "MPR.DLL" and "IMM32.DLL" are simply missing. The platform
// reports itself as NT (dwPlatformId 2), which keeps the shell's password path off.
#include "shell/platform/emulated_state.h"
#include "shell/platform/surface.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

// The process image, as GetModuleHandleA(NULL) returns it.
static const UINT_PTR PROCESS_MODULE = 0x400000;
// Module handles are small numbers above this, one per registered module.
static const UINT_PTR FIRST_MODULE_HANDLE = 0x10000000;

BOOL GetVersionExA(LPOSVERSIONINFOA version) {
    if (version == nullptr || version->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) return FALSE;
    DWORD platformId = platformState().platformId;
    version->dwPlatformId = platformId;
    // 4.10 for the consumer line, 5.1 otherwise: what those platforms report.
    version->dwMajorVersion = platformId == VER_PLATFORM_WIN32_WINDOWS ? 4 : 5;
    version->dwMinorVersion = platformId == VER_PLATFORM_WIN32_WINDOWS ? 10 : 1;
    version->dwBuildNumber = 2600;
    std::memset(version->szCSDVersion, 0, sizeof(version->szCSDVersion));
    return TRUE;
}

DWORD GetTickCount() {
    PlatformState& state = platformState();
    if (state.manualClock) return state.manualTicks;
    static const auto start = std::chrono::steady_clock::now();
    auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    // Wraps after 49.7 days, like the real counter.
    return static_cast<DWORD>(static_cast<unsigned long long>(elapsed.count()));
}

void Sleep(DWORD milliseconds) {
    PlatformState& state = platformState();
    if (state.manualClock) {
        state.manualTicks += milliseconds;
        return;
    }
    if (milliseconds == 0)
        std::this_thread::yield();
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void platformSetCommandLine(LPCSTR commandLine) {
    platformState().commandLine = commandLine != nullptr ? commandLine : "";
}

LPSTR GetCommandLineA() {
    return &platformState().commandLine[0];
}

void ExitProcess(UINT exitCode) {
    std::exit(static_cast<int>(exitCode));
}

LPTOP_LEVEL_EXCEPTION_FILTER SetUnhandledExceptionFilter(LPTOP_LEVEL_EXCEPTION_FILTER filter) {
    // Kept but never called: faults here are signals, not structured exceptions.
    LPTOP_LEVEL_EXCEPTION_FILTER previous = platformState().faultFilter;
    platformState().faultFilter = filter;
    return previous;
}

// ---- Modules ----

static ModuleRecord* moduleByHandle(HMODULE module) {
    auto& modules = platformState().modules;
    UINT_PTR value = reinterpret_cast<UINT_PTR>(module);
    if (value < FIRST_MODULE_HANDLE || value - FIRST_MODULE_HANDLE >= modules.size()) return nullptr;
    return &modules[value - FIRST_MODULE_HANDLE];
}

static HMODULE moduleHandle(const ModuleRecord& record) {
    const auto& modules = platformState().modules;
    return reinterpret_cast<HMODULE>(FIRST_MODULE_HANDLE + static_cast<UINT_PTR>(&record - modules.data()));
}

static ModuleRecord* moduleByName(LPCSTR name) {
    std::string key = upperCase(name);
    // Windows adds ".DLL" to a name without an extension.
    if (key.find('.') == std::string::npos) key += ".DLL";
    for (ModuleRecord& record : platformState().modules)
        if (record.name == key) return &record;
    return nullptr;
}

HMODULE GetModuleHandleA(LPCSTR moduleName) {
    if (moduleName == nullptr) return reinterpret_cast<HMODULE>(PROCESS_MODULE);
    ModuleRecord* record = moduleByName(moduleName);
    return record != nullptr && (record->resident || record->loadCount > 0) ? moduleHandle(*record) : nullptr;
}

HMODULE LoadLibraryA(LPCSTR fileName) {
    if (fileName == nullptr) return nullptr;
    ModuleRecord* record = moduleByName(fileName);
    if (record == nullptr) return nullptr;
    ++record->loadCount;
    return moduleHandle(*record);
}

BOOL FreeLibrary(HMODULE module) {
    ModuleRecord* record = moduleByHandle(module);
    if (record == nullptr || (record->loadCount == 0 && !record->resident)) return FALSE;
    if (record->loadCount > 0) --record->loadCount;
    return TRUE;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName) {
    ModuleRecord* record = moduleByHandle(module);
    if (record == nullptr || procName == nullptr || IS_INTRESOURCE(procName)) return nullptr;
    if (record->loadCount == 0 && !record->resident) return nullptr;
    for (const auto& entry : record->exports)
        if (entry.first == procName) return entry.second;
    return nullptr;
}

// ---- Registry: the current user's keys only ----

static std::string keyPath(HKEY key, LPCSTR subKey, bool* valid) {
    PlatformState& state = platformState();
    std::string base;
    *valid = true;
    if (key == HKEY_CURRENT_USER) {
        base = "";
    } else {
        auto found = state.openKeys.find(reinterpret_cast<UINT_PTR>(key));
        if (found == state.openKeys.end()) {
            *valid = false;
            return "";
        }
        base = found->second;
    }
    std::string sub = upperCase(subKey);
    if (sub.empty()) return base;
    return base.empty() ? sub : base + "\\" + sub;
}

LONG RegOpenKeyA(HKEY key, LPCSTR subKey, PHKEY result) {
    if (result == nullptr) return ERROR_INVALID_HANDLE;
    *result = nullptr;
    bool valid = false;
    std::string path = keyPath(key, subKey, &valid);
    if (!valid) return ERROR_INVALID_HANDLE;
    PlatformState& state = platformState();
    if (!path.empty() && state.registry.find(path) == state.registry.end()) return ERROR_FILE_NOT_FOUND;
    UINT_PTR handle = state.nextKey++;
    state.openKeys[handle] = path;
    *result = reinterpret_cast<HKEY>(handle);
    return ERROR_SUCCESS;
}

LONG RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD dataSize) {
    bool valid = false;
    std::string path = keyPath(key, nullptr, &valid);
    if (!valid) return ERROR_INVALID_HANDLE;
    PlatformState& state = platformState();
    auto keyEntry = state.registry.find(path);
    if (keyEntry == state.registry.end()) return ERROR_FILE_NOT_FOUND;
    auto valueEntry = keyEntry->second.find(upperCase(valueName));
    if (valueEntry == keyEntry->second.end()) return ERROR_FILE_NOT_FOUND;
    const RegistryValue& value = valueEntry->second;
    DWORD needed = static_cast<DWORD>(value.data.size());
    if (type != nullptr) *type = value.type;
    if (data != nullptr) {
        if (dataSize == nullptr) return ERROR_INVALID_HANDLE;
        if (*dataSize < needed) {
            *dataSize = needed;
            return ERROR_MORE_DATA;
        }
        if (needed > 0) std::memcpy(data, value.data.data(), needed);
    }
    if (dataSize != nullptr) *dataSize = needed;
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
    return platformState().openKeys.erase(reinterpret_cast<UINT_PTR>(key)) == 1 ? ERROR_SUCCESS
                                                                                : ERROR_INVALID_HANDLE;
}

// ---- System parameters: only the saver-running flag ----

BOOL SystemParametersInfoA(UINT action, UINT param, PVOID data, UINT) {
    if (action != SPI_SCREENSAVERRUNNING) return FALSE;
    PlatformState& state = platformState();
    if (data != nullptr) *static_cast<BOOL*>(data) = state.saverRunning;
    state.saverRunning = param != 0 ? TRUE : FALSE;
    return TRUE;
}
