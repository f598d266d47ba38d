// Puts the shell back to a fresh process: used by the shell tests and the argument fuzzer.
#include "tests/shell/shell_reset.h"

#include "shell/platform/test_controls.h"
#include "shell/saver_shell.h"

void resetShell() {
    testSetIdleHook(nullptr);
    testResetPlatform();
    saverInstance = nullptr;
    saverWindow = nullptr;
    isWin32Windows = false;
    isPreview = false;
    isClosing = false;
    isCheckingPassword = false;
    lastCursorPos = {0, 0};
    lastPasswordCheckTick = PASSWORD_CHECK_NEVER;
    autoPlayCancelMessage = 0;
    passwordModule = nullptr;
    verifyPassword = nullptr;
    inputMethodModule = nullptr;
    associateContext = nullptr;
    savedInputContext = nullptr;
    clientWidth = 0;
    clientHeight = 0;
    deviceContext = nullptr;
    renderContext = nullptr;
}
