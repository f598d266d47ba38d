// Idle scripts for the shell tests.
#include "tests/shell/shell_test_support.h"

#include <gtest/gtest.h>

// A script that keeps finding windows after it ended has a window it cannot close.
static const int MAX_IDLE_AFTER_END = 1000;

SaverScript::SaverScript(std::vector<std::function<void()>> s) : steps(std::move(s)) {
    testSetIdleHook([this] { idle(); });
}

SaverScript::~SaverScript() {
    testSetIdleHook(nullptr);
}

void SaverScript::idle() {
    if (next < steps.size()) {
        steps[next++]();
        return;
    }
    // A prompt's own loop goes on until the prompt answers.
    if (isCheckingPassword) return;
    if (++idleAfterEnd > MAX_IDLE_AFTER_END) {
        ADD_FAILURE() << "the run does not end";
        PostQuitMessage(-2);
        return;
    }
    if (HWND dialog = testOpenDialog()) {
        EndDialog(dialog, -2);
        return;
    }
    for (HWND window : testLiveWindows())
        DestroyWindow(window);
}

int runSaver(const char* argumentText, std::vector<std::function<void()>> steps) {
    SaverScript script(std::move(steps));
    return saverMain(GetModuleHandleA(nullptr), argumentText);
}
