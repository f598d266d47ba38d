// libFuzzer target over the entry: the program-name skip, the argument scan and parseWindowHandle. The
// first byte chooses the process around the saver (platform, host and foreground windows, a dialog
// template, the password modules and setting, an already running saver); the rest is the command line.
// The core refuses to create saver windows, so no scene starts; a dialog is cancelled as soon as it is up.
#include "shell/platform/test_controls.h"
#include "shell/saver_shell.h"
#include "tests/shell/shell_reset.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

BOOL WINAPI acceptingVerifier(HWND) {
    return TRUE;
}
DWORD WINAPI ignoringPasswordChange(LPCSTR, HWND, DWORD, DWORD) {
    return 0;
}

void check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "saver argument fuzzer: %s\n", what);
    std::abort();
}

// The decimal prefix of a text, the slow way.
UINT referenceHandle(const char* text) {
    std::uint64_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
        value = (value * 10u + static_cast<unsigned>(*text - '0')) % 4294967296u;
    return static_cast<UINT>(value);
}

int idleMoments = 0;

void answerWhatIsOpen() {
    check(++idleMoments < 100, "the run does not end");
    if (HWND dialog = testOpenDialog()) {
        PostMessageA(dialog, WM_COMMAND, (idleMoments & 1) != 0 ? IDCANCEL : IDOK, 0);
        return;
    }
    for (HWND window : testLiveWindows())
        DestroyWindow(window);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::uint8_t setup = data[0];
    // An exact-size copy: a read past the terminator is caught by the address sanitizer.
    std::vector<char> line(data + 1, data + size);
    line.push_back('\0');

    resetShell();
    idleMoments = 0;
    testSetTickCount(1000);
    testSetPlatformId((setup & 1) != 0 ? VER_PLATFORM_WIN32_WINDOWS : VER_PLATFORM_WIN32_NT);
    if ((setup & 2) != 0) testAddForeignWindow(1234, 80, 60);
    if ((setup & 4) != 0) SetForegroundWindow(testAddForeignWindow(777, 300, 200));
    if ((setup & 8) != 0) testAddDialogTemplate(CONFIG_DIALOG_TEMPLATE);
    if ((setup & 16) != 0) {
        testSetRegistryDword(DESKTOP_KEY, USE_PASSWORD_VALUE, 1);
        testAddModule(PASSWORD_MODULE, {{VERIFY_PASSWORD_NAME, testProcedure(acceptingVerifier)}});
    }
    if ((setup & 32) != 0)
        testAddModule(PASSWORD_CHANGE_MODULE,
                      {{CHANGE_PASSWORD_NAME, testProcedure(ignoringPasswordChange)}});
    if ((setup & 64) != 0) testAddForeignWindow(555, 64, 48, SAVER_CLASS_NAME, FULL_SCREEN_TITLE);
    testFailWindowCreation(true);
    testSetIdleHook(answerWhatIsOpen);

    const char* argumentText = skipProgramName(line.data());
    check(argumentText >= line.data() && argumentText <= line.data() + std::strlen(line.data()),
          "the argument text lies outside the command line");
    check(parseWindowHandle(argumentText) == referenceHandle(argumentText), "parseWindowHandle");
    int exitCode = saverMain(GetModuleHandleA(nullptr), argumentText);
    check(exitCode == -1 || exitCode == 0 || exitCode == 1, "an exit code other than -1, 0 or 1");
    check(testLiveWindows().empty(), "a window outlived the run");
    check(testModuleLoadCount(PASSWORD_MODULE) == 0 && testModuleLoadCount(PASSWORD_CHANGE_MODULE) == 0,
          "a module stayed loaded");
    check(testSaverRunningFlag() == FALSE, "the saver-running flag stayed set");
    resetShell();
    return 0;
}
