// The saver's entry: the platform check, the argument scan that picks a mode, and the shell state.
#include "shell/saver_shell.h"

HINSTANCE saverInstance = nullptr;
HWND saverWindow = nullptr;
bool isWin32Windows = false;
bool isPreview = false;
bool isClosing = false;
bool isCheckingPassword = false;
POINT lastCursorPos = {0, 0};
DWORD lastPasswordCheckTick = PASSWORD_CHECK_NEVER;
UINT autoPlayCancelMessage = 0;
HMODULE passwordModule = nullptr;
VerifyPasswordFunction verifyPassword = nullptr;
HMODULE inputMethodModule = nullptr;
AssociateContextFunction associateContext = nullptr;
HANDLE savedInputContext = nullptr;

static bool isBlank(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return u >= 1 && u <= 32;
}

LPCSTR skipProgramName(LPCSTR commandLine) {
    if (commandLine == nullptr) return "";
    LPCSTR p = commandLine;
    if (*p == '"') {
        ++p;
        while (*p != '\0' && *p != '"')
            ++p;
        if (*p == '"') ++p;
    } else {
        while (static_cast<unsigned char>(*p) > ' ')
            ++p;
    }
    while (isBlank(*p))
        ++p;
    return p;
}

UINT parseWindowHandle(LPCSTR text) {
    UINT value = 0;
    if (text == nullptr) return value;
    for (LPCSTR p = text; *p >= '0' && *p <= '9'; ++p)
        value = value * 10u + static_cast<UINT>(*p - '0');
    return value;
}

static HWND windowFromNumber(UINT number) {
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(number));
}

// The handle after a switch letter and the spaces that follow it.
static HWND handleAfterSwitch(LPCSTR afterLetter) {
    while (*afterLetter == ' ')
        ++afterLetter;
    return windowFromNumber(parseWindowHandle(afterLetter));
}

static bool namesWindow(HWND window) {
    return window != nullptr && IsWindow(window);
}

// A fault that reaches the top must not leave the system believing a saver still runs.
static LONG WINAPI saverFaultFilter(EXCEPTION_POINTERS*) {
    setSaverRunning(false);
    return EXCEPTION_CONTINUE_SEARCH;
}

int saverMain(HINSTANCE instance, LPCSTR argumentText) {
    saverInstance = instance;
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    isWin32Windows = GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
    SetUnhandledExceptionFilter(saverFaultFilter);

    for (LPCSTR p = argumentText != nullptr ? argumentText : "";; ++p) {
        switch (*p) {
        case '\0':
            return static_cast<int>(showConfigDialog(nullptr));
        case ' ':
        case '-':
        case '/':
            continue;
        case 'S':
        case 's':
            return runSaverWindow(nullptr);
        case 'P':
        case 'p':
        case 'L':
        case 'l': {
            HWND parent = handleAfterSwitch(p + 1);
            return namesWindow(parent) ? runSaverWindow(parent) : SAVER_EXIT_FAILURE;
        }
        case 'C':
        case 'c': {
            // Only the colon form carries an owner.
            HWND owner = p[1] == ':' ? windowFromNumber(parseWindowHandle(p + 2)) : nullptr;
            if (!namesWindow(owner)) owner = GetForegroundWindow();
            return static_cast<int>(showConfigDialog(owner));
        }
        case 'A':
        case 'a': {
            if (!isWin32Windows) return SAVER_EXIT_FAILURE;
            HWND owner = handleAfterSwitch(p + 1);
            if (!namesWindow(owner)) owner = GetForegroundWindow();
            changeSaverPassword(owner);
            return 0;
        }
        default:
            return SAVER_EXIT_FAILURE;
        }
    }
}
