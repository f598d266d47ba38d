// The platform's password conventions, which exist only on the consumer platform (dwPlatformId 1): the
// check before a close, the verifier module chosen by the user's desktop setting, the saver-running flag
// and the password change. Everywhere else these do nothing and a close goes ahead at once.
#include "shell/saver_shell.h"

template <typename Function> static Function moduleFunction(HMODULE module, LPCSTR name) {
    // Through the generic function type, which converts to any other without a cast warning.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

bool checkPasswordOnClose(HWND window) {
    // A close that arrives during the prompt is ignored.
    if (isCheckingPassword || isClosing) return false;
    if (verifyPassword == nullptr) {
        isClosing = true;
        return true;
    }
    DWORD now = GetTickCount();
    if (lastPasswordCheckTick != PASSWORD_CHECK_NEVER && now - lastPasswordCheckTick < PASSWORD_RECHECK_MS)
        return isClosing;
    isCheckingPassword = true;
    // Frames already due would only delay the prompt.
    MSG pending;
    PeekMessageA(&pending, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    PeekMessageA(&pending, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    isClosing = SendMessageA(window, VERIFY_PASSWORD_REQUEST, 0, 0) != 0;
    isCheckingPassword = false;
    if (!isClosing) SetCursor(nullptr);
    lastPasswordCheckTick = GetTickCount();
    return isClosing;
}

void loadPasswordVerifier() {
    if (!isWin32Windows) return;
    if (passwordModule != nullptr) unloadPasswordVerifier();
    HKEY desktop = nullptr;
    if (RegOpenKeyA(HKEY_CURRENT_USER, DESKTOP_KEY, &desktop) != ERROR_SUCCESS) return;
    DWORD usePassword = 0;
    DWORD size = sizeof(usePassword);
    if (RegQueryValueExA(desktop, USE_PASSWORD_VALUE, nullptr, nullptr,
                         reinterpret_cast<LPBYTE>(&usePassword), &size) == ERROR_SUCCESS &&
        usePassword != 0) {
        passwordModule = LoadLibraryA(PASSWORD_MODULE);
        if (passwordModule != nullptr) {
            verifyPassword = moduleFunction<VerifyPasswordFunction>(passwordModule, VERIFY_PASSWORD_NAME);
            if (verifyPassword != nullptr) {
                setSaverRunning(true);
            } else {
                FreeLibrary(passwordModule);
                passwordModule = nullptr;
            }
        }
    }
    RegCloseKey(desktop);
}

void unloadPasswordVerifier() {
    if (!isWin32Windows) return;
    if (passwordModule != nullptr) {
        FreeLibrary(passwordModule);
        passwordModule = nullptr;
    }
    if (verifyPassword != nullptr) {
        verifyPassword = nullptr;
        setSaverRunning(false);
    }
}

void setSaverRunning(bool flag) {
    if (!isWin32Windows) return;
    BOOL scratch = FALSE;
    SystemParametersInfoA(SPI_SCREENSAVERRUNNING, flag ? TRUE : FALSE, &scratch, 0);
}

void changeSaverPassword(HWND owner) {
    HMODULE mpr = LoadLibraryA(PASSWORD_CHANGE_MODULE);
    if (mpr == nullptr) return;
    ChangePasswordFunction change = moduleFunction<ChangePasswordFunction>(mpr, CHANGE_PASSWORD_NAME);
    if (change != nullptr) change(PASSWORD_PROVIDER, owner, 0, 0);
    FreeLibrary(mpr);
}
