// The saver window's message logic, driven through the test controls on the offscreen surface: close on
// input and its mouse tolerance, preview, the password prompt and its re-entrancy, system commands,
// activation, autoplay, the verifier's loading, and the exit codes of failed starts.
#include "tests/shell/shell_test_support.h"

#include "shell/frame_clock.h"
#include "shell/platform/offscreen_surface.h"
#include "tests/support/image.h"

#include <gtest/gtest.h>

#include <set>

#include <climits>
#include <string>
#include <utility>
#include <vector>

namespace {

const UINT_PTR HOST = 1234;
HWND handle(UINT_PTR value) {
    return reinterpret_cast<HWND>(value);
}
// A step that does nothing: the loop waits, so one timer tick falls before the next step.
const std::function<void()> TICK = [] {};

// The fake "VerifyScreenSavePwd": counts prompts, shows the cursor as a prompt does, runs what the test
// wants to happen while it is up, and answers.
struct Prompt {
    int calls = 0;
    BOOL answer = FALSE;
    std::function<void(HWND)> during;
} prompt;

BOOL WINAPI fakeVerify(HWND window) {
    ++prompt.calls;
    testShowCursor();
    if (prompt.during) prompt.during(window);
    return prompt.answer;
}

std::vector<std::pair<HWND, HANDLE>> associations;
HANDLE WINAPI fakeAssociate(HWND window, HANDLE context) {
    associations.emplace_back(window, context);
    return reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(0x77));
}

class SaverWindow : public ::testing::Test {
  protected:
    void SetUp() override { prepare(); }
    void TearDown() override { resetShell(); }

    void prepare() {
        resetShell();
        prompt = Prompt{};
        associations.clear();
        testSetTickCount(1000);
        offscreenSetScreenSize(64, 48);
        testSetCursorPos(50, 50);
        testAddForeignWindow(HOST, 80, 60);
    }

    // The consumer platform with the user's password setting on and the password module present.
    static void enablePasswords() {
        testSetPlatformId(VER_PLATFORM_WIN32_WINDOWS);
        testSetRegistryDword(DESKTOP_KEY, USE_PASSWORD_VALUE, 1);
        testAddModule(PASSWORD_MODULE, {{VERIFY_PASSWORD_NAME, testProcedure(fakeVerify)}});
    }

    static int closesPosted() { return testPostedCount(saverWindow, WM_CLOSE); }
};

TEST_F(SaverWindow, MouseMoveClosesOnlyBeyondFourPixelsFromTheRecordedPosition) {
    struct MoveCase {
        const char* name;
        POINT start;
        std::vector<POINT> moves;
        int closingMove; // index of the move that closes, -1 for none
    };
    const MoveCase cases[] = {
        {"3 right 1 down (sum 4) stays", {50, 50}, {{53, 51}}, -1},
        {"3 right 2 down (sum 5) closes", {50, 50}, {{53, 52}}, 0},
        {"3 left 2 up closes", {50, 50}, {{47, 48}}, 0},
        {"small steps drift away", {50, 50}, {{51, 50}, {52, 50}, {53, 50}, {54, 50}, {55, 50}}, 4},
        {"jitter around the start",
         {50, 50},
         {{52, 52}, {48, 48}, {50, 54}, {46, 50}, {53, 49}, {50, 50}, {54, 50}, {50, 46}},
         -1},
        {"opposite screen corners", {INT_MIN, INT_MIN}, {{INT_MAX, INT_MAX}}, 0},
        {"a 2^32 - 1 jump is not a 2 pixel one", {INT_MIN, 0}, {{INT_MAX, 3}}, 0},
    };
    for (const MoveCase& c : cases) {
        SCOPED_TRACE(c.name);
        prepare();
        testSetCursorPos(c.start.x, c.start.y);
        bool aliveAfterMoves = false;
        std::vector<std::function<void()>> steps;
        for (POINT p : c.moves)
            steps.push_back([p] { testMoveMouse(saverWindow, p.x, p.y); });
        steps.push_back([&] { aliveAfterMoves = IsWindow(saverWindow) != FALSE; });
        SaverScript script(steps);
        EXPECT_EQ(saverMain(GetModuleHandleA(nullptr), "/s"), 0);
        if (c.closingMove < 0) {
            EXPECT_TRUE(aliveAfterMoves);
            EXPECT_EQ(closesPosted(), 0);
        } else {
            // The run ends right after the closing move.
            EXPECT_EQ(script.stepsRun(), static_cast<size_t>(c.closingMove) + 1);
            EXPECT_EQ(closesPosted(), 1);
        }
    }

    // Two moves queued together: the first closes and becomes the new reference, so the second, 2 pixels
    // on from it, posts no second close.
    prepare();
    runSaver("/s", {[] {
                 testMoveMouse(saverWindow, 60, 50);
                 testMoveMouse(saverWindow, 62, 50);
             }});
    EXPECT_EQ(closesPosted(), 1);
}

TEST_F(SaverWindow, EachInputOfTheFullScreenSaverClosesIt) {
    struct InputCase {
        UINT message;
        WPARAM wParam;
        bool closes;
    };
    const InputCase cases[] = {
        {WM_KEYDOWN, 0x41, true},
        {WM_SYSKEYDOWN, 0x12, true},
        {WM_LBUTTONDOWN, 0, true},
        {WM_RBUTTONDOWN, 0, true},
        {WM_MBUTTONDOWN, 0, true},
        {WM_POWERBROADCAST, 7, true},
        {WM_POWER, PWR_CRITICALRESUME, true},
        {WM_POWER, 1, false},
        {WM_ACTIVATEAPP, 0, true},
        {WM_ACTIVATEAPP, 1, false},
        {WM_KEYUP, 0x41, false},
    };
    for (const InputCase& c : cases) {
        SCOPED_TRACE("message " + std::to_string(c.message) + " wParam " + std::to_string(c.wParam));
        prepare();
        bool alive = false;
        int exitCode = runSaver("/s", {[&] { testInjectInput(saverWindow, c.message, c.wParam); }, TICK,
                                       [&] { alive = IsWindow(saverWindow) != FALSE; }});
        EXPECT_EQ(exitCode, 0);
        EXPECT_EQ(closesPosted(), c.closes ? 1 : 0);
        EXPECT_EQ(alive, !c.closes);
    }
}

TEST_F(SaverWindow, FullScreenWindowCoversTheScreenHidesTheCursorAndDrawsOnlyOnTicks) {
    testAddModule(INPUT_METHOD_MODULE, {{ASSOCIATE_CONTEXT_NAME, testProcedure(fakeAssociate)}}, true);
    unsigned swapsAtFirstIdle = 99;
    unsigned swapsLater = 0;
    HWND window = nullptr;
    int exitCode = runSaver("/s", {[&] {
                                       window = saverWindow;
                                       TestWindowInfo info = testWindowInfo(window);
                                       EXPECT_EQ(info.className, SAVER_CLASS_NAME);
                                       EXPECT_EQ(info.title, FULL_SCREEN_TITLE);
                                       EXPECT_EQ(info.style, 0x96000000u);
                                       EXPECT_EQ(info.exStyle, 8u);
                                       EXPECT_EQ(info.parent, nullptr);
                                       EXPECT_EQ(info.x, 0);
                                       EXPECT_EQ(info.y, 0);
                                       EXPECT_EQ(clientWidth, 64);
                                       EXPECT_EQ(clientHeight, 48);
                                       EXPECT_EQ(GetForegroundWindow(), window);
                                       EXPECT_TRUE(testCursorHidden());
                                       EXPECT_EQ(testLiveTimerCount(), 1);
                                       EXPECT_NE(wglGetCurrentContext(), nullptr);
                                       // The window has been painted, but nothing is presented before
                                       // the first tick.
                                       swapsAtFirstIdle = offscreenSwapCount(window);
                                   },
                                   TICK, TICK, [&] { swapsLater = offscreenSwapCount(window); }});
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(swapsAtFirstIdle, 0u);
    EXPECT_GE(swapsLater, 3u);
    // Teardown: timer gone, no context current, the input context given back.
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(testLiveTimerCount(), 0);
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    ASSERT_EQ(associations.size(), 2u);
    EXPECT_EQ(associations[0].first, window);
    EXPECT_EQ(associations[0].second, nullptr);
    EXPECT_EQ(associations[1].second, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(0x77)));
}

// The scene's clock follows the platform's simulated ticks.
int simulatedMilliseconds() {
    return static_cast<int>(GetTickCount());
}

TEST_F(SaverWindow, PresentsOneSceneFramePerTick) {
    offscreenSetScreenSize(320, 180);
    frameClockSource = simulatedMilliseconds;
    std::vector<std::function<void()>> steps(40, TICK);
    std::vector<unsigned char> front;
    int width = 0;
    int height = 0;
    unsigned swaps = 0;
    steps.push_back([&] {
        front = offscreenFrontImage(saverWindow, &width, &height);
        swaps = offscreenSwapCount(saverWindow);
    });
    EXPECT_EQ(runSaver("/s", steps), 0);
    frameClockSource = glutElapsedMilliseconds;
    EXPECT_EQ(swaps, 40u);
    ASSERT_EQ(width, 320);
    ASSERT_EQ(height, 180);
    Image image;
    image.width = width;
    image.height = height;
    image.rgba.resize(front.size());
    std::set<unsigned> colours;
    for (int y = 0; y < height; ++y) {
        const unsigned char* row =
            &front[static_cast<size_t>(height - 1 - y) * static_cast<size_t>(width) * 4u];
        std::copy(row, row + width * 4,
                  &image.rgba[static_cast<size_t>(y) * static_cast<size_t>(width) * 4u]);
        for (int x = 0; x < width; ++x)
            colours.insert(row[x * 4] | (row[x * 4 + 1] << 8) | (row[x * 4 + 2] << 16));
    }
    writePng(testOutputDir() + "/shell-full-screen.png", image);
    // A city, not a cleared window.
    EXPECT_GT(colours.size(), 50u);
}

TEST_F(SaverWindow, PreviewIgnoresEveryInputAndNeverHidesTheCursor) {
    enablePasswords();
    HWND host = handle(HOST);
    unsigned swaps = 0;
    int exitCode = runSaver(
        "/p 1234", {[&] {
                        TestWindowInfo info = testWindowInfo(saverWindow);
                        EXPECT_EQ(info.title, PREVIEW_TITLE);
                        EXPECT_EQ(info.style, 0x52000000u);
                        EXPECT_EQ(info.exStyle, 0u);
                        EXPECT_EQ(info.parent, host);
                        EXPECT_EQ(info.width, 80);
                        EXPECT_EQ(info.height, 60);
                        // The password path belongs to the full-screen saver only.
                        EXPECT_EQ(testModuleLoadCount(PASSWORD_MODULE), 0);
                        for (UINT message : {WM_KEYDOWN, WM_SYSKEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN,
                                             WM_MBUTTONDOWN, WM_POWERBROADCAST, WM_ACTIVATEAPP})
                            testInjectInput(saverWindow, message);
                        testInjectInput(saverWindow, WM_POWER, PWR_CRITICALRESUME);
                        testMoveMouse(saverWindow, 500, 500);
                        SendMessageA(saverWindow, WM_SHOWWINDOW, TRUE, 0);
                        SendMessageA(saverWindow, WM_SETCURSOR, 0, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
                    },
                    TICK,
                    [&] {
                        EXPECT_TRUE(IsWindow(saverWindow));
                        // Help goes to the dialog hosting the preview.
                        EXPECT_EQ(SendMessageA(saverWindow, WM_HELP, 0, 0x55), 1);
                        EXPECT_EQ(SendMessageA(saverWindow, WM_CONTEXTMENU, 0, 0x66), 1);
                        // Not swallowed in preview: it reaches the default procedure.
                        SendMessageA(saverWindow, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
                        swaps = offscreenSwapCount(saverWindow);
                    },
                    // The host going away takes the preview with it.
                    [&] { testDestroyForeignWindow(host); }});
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(closesPosted(), 0);
    EXPECT_EQ(testCursorHideCount(), 0);
    EXPECT_GT(swaps, 0u);
    EXPECT_EQ(testScreenSaveRequests(), 1);
    std::vector<MSG> inbox = testForeignInbox(host);
    ASSERT_EQ(inbox.size(), 2u);
    EXPECT_EQ(inbox[0].message, static_cast<UINT>(WM_HELP));
    EXPECT_EQ(inbox[0].wParam, HOST);
    EXPECT_EQ(inbox[0].lParam, 0x55);
    EXPECT_EQ(inbox[1].message, static_cast<UINT>(WM_CONTEXTMENU));
    EXPECT_EQ(inbox[1].wParam, HOST);
    EXPECT_EQ(inbox[1].lParam, 0x66);
}

TEST_F(SaverWindow, AfterAnAcceptedCloseNothingIsDrawnAndInputPostsNoMoreCloses) {
    // The state between an accepted close and the window's destruction.
    unsigned swapsAtClose = 0;
    unsigned swapsLater = 0;
    runSaver("/s", {TICK,
                    [&] {
                        isClosing = true;
                        swapsAtClose = offscreenSwapCount(saverWindow);
                        testInjectInput(saverWindow, WM_KEYDOWN);
                        testMoveMouse(saverWindow, 300, 300);
                        testInjectInput(saverWindow, WM_ACTIVATEAPP, 0);
                    },
                    TICK, TICK, [&] { swapsLater = offscreenSwapCount(saverWindow); }});
    EXPECT_GT(swapsAtClose, 0u);
    EXPECT_EQ(swapsLater, swapsAtClose);
    EXPECT_EQ(closesPosted(), 0);

    // The whole path with a verifier that accepts: the window goes, the verifier is unloaded.
    prepare();
    enablePasswords();
    prompt.answer = TRUE;
    bool runningFlagWhileUp = false;
    int exitCode = runSaver("/s", {[&] {
                                runningFlagWhileUp = testSaverRunningFlag() != FALSE;
                                testInjectInput(saverWindow, WM_KEYDOWN);
                            }});
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(prompt.calls, 1);
    EXPECT_TRUE(runningFlagWhileUp);
    EXPECT_FALSE(testSaverRunningFlag());
    EXPECT_EQ(testModuleLoadCount(PASSWORD_MODULE), 0);
    EXPECT_FALSE(IsWindow(saverWindow));
}

TEST_F(SaverWindow, RefusedPromptKeepsTheSaverAndNoNewPromptFor200Ms) {
    enablePasswords();
    // While the prompt is up the user moves the pointer away.
    prompt.during = [](HWND) { testSetCursorPos(100, 100); };
    DWORD promptEnd = 0;
    int exitCode = runSaver("/s", {[] { testInjectInput(saverWindow, WM_KEYDOWN); },
                                   [&] {
                                       EXPECT_EQ(prompt.calls, 1);
                                       EXPECT_TRUE(IsWindow(saverWindow));
                                       EXPECT_TRUE(testCursorHidden());
                                       EXPECT_FALSE(isClosing);
                                       promptEnd = lastPasswordCheckTick;
                                       // Measured from where the pointer was when the prompt was refused.
                                       EXPECT_EQ(lastCursorPos.x, 100);
                                       EXPECT_EQ(lastCursorPos.y, 100);
                                       testMoveMouse(saverWindow, 103, 101);
                                   },
                                   [&] {
                                       EXPECT_EQ(closesPosted(), 1);
                                       testSetTickCount(promptEnd + PASSWORD_RECHECK_MS - 1);
                                       testInjectInput(saverWindow, WM_KEYDOWN);
                                   },
                                   [&] {
                                       // That close was dropped without a prompt.
                                       EXPECT_EQ(closesPosted(), 2);
                                       EXPECT_EQ(prompt.calls, 1);
                                       EXPECT_TRUE(IsWindow(saverWindow));
                                       testSetTickCount(promptEnd + PASSWORD_RECHECK_MS);
                                       prompt.answer = TRUE;
                                       testInjectInput(saverWindow, WM_KEYDOWN);
                                   }});
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(prompt.calls, 2);
    EXPECT_FALSE(IsWindow(saverWindow));
}

TEST_F(SaverWindow, CloseDuringThePromptIsIgnoredWhileTicksStillDrawFrames) {
    enablePasswords();
    prompt.answer = TRUE;
    unsigned framesDuringPrompt = 0;
    int closesDuringPrompt = 0;
    bool nestedState = false;
    prompt.during = [&](HWND window) {
        nestedState = isCheckingPassword;
        unsigned before = offscreenSwapCount(window);
        PostMessageA(window, WM_CLOSE, 0, 0);
        testInjectInput(window, WM_KEYDOWN);
        testMoveMouse(window, 400, 400);
        // The prompt's own loop dispatches to the saver window.
        MSG message;
        while (offscreenSwapCount(window) < before + 3 && GetMessageA(&message, nullptr, 0, 0) > 0)
            DispatchMessageA(&message);
        framesDuringPrompt = offscreenSwapCount(window) - before;
        closesDuringPrompt = testPostedCount(window, WM_CLOSE);
    };
    int exitCode = runSaver("/s", {[] { testInjectInput(saverWindow, WM_KEYDOWN); }});
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(nestedState);
    EXPECT_EQ(prompt.calls, 1);
    EXPECT_EQ(framesDuringPrompt, 3u);
    // The key's close and the one posted during the prompt; the key and move inside it posted none.
    EXPECT_EQ(closesDuringPrompt, 2);
}

TEST_F(SaverWindow, SystemCommandsToSwitchOrStartASaverAreSwallowed) {
    bool aliveAfterSwallowed = false;
    int exitCode = runSaver("/s", {[&] {
                                       for (WPARAM command : {SC_SCREENSAVE, SC_NEXTWINDOW, SC_PREVWINDOW})
                                           EXPECT_EQ(SendMessageA(saverWindow, WM_SYSCOMMAND, command, 0), 0);
                                       aliveAfterSwallowed = IsWindow(saverWindow) != FALSE;
                                       // Any other command reaches the default procedure.
                                       SendMessageA(saverWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
                                   },
                                   TICK});
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(aliveAfterSwallowed);
    EXPECT_EQ(testScreenSaveRequests(), 0);
    EXPECT_FALSE(IsWindow(saverWindow));
}

TEST_F(SaverWindow, LosingActivationToAnotherWindowCloses) {
    int closesBefore = -1;
    size_t stepsRun = 0;
    {
        SaverScript script(
            {[&] { closesBefore = closesPosted(); }, [] { SetForegroundWindow(handle(HOST)); }, TICK});
        EXPECT_EQ(saverMain(GetModuleHandleA(nullptr), "/s"), 0);
        stepsRun = script.stepsRun();
    }
    EXPECT_EQ(closesBefore, 0);
    EXPECT_EQ(closesPosted(), 1);
    EXPECT_EQ(stepsRun, 2u);
}

TEST_F(SaverWindow, AutoPlayMessageClosesAndCancelsOnlyWithAVerifier) {
    struct AutoPlayCase {
        const char* name;
        DWORD platformId;
        bool verifier;
        LRESULT result;
        int prompts;
        bool closes;
    };
    const AutoPlayCase cases[] = {
        {"consumer platform with verifier", VER_PLATFORM_WIN32_WINDOWS, true, 1, 1, true},
        {"consumer platform without verifier", VER_PLATFORM_WIN32_WINDOWS, false, 0, 0, true},
        {"NT platform", VER_PLATFORM_WIN32_NT, false, 0, 0, false},
    };
    for (const AutoPlayCase& c : cases) {
        SCOPED_TRACE(c.name);
        prepare();
        if (c.verifier) enablePasswords();
        testSetPlatformId(c.platformId);
        prompt.answer = TRUE;
        LRESULT result = -5;
        UINT registered = 0;
        bool alive = false;
        runSaver("/s", {[&] {
                            registered = autoPlayCancelMessage;
                            result = SendMessageA(saverWindow, RegisterWindowMessageA("QueryCancelAutoPlay"),
                                                  0, 0);
                        },
                        TICK, [&] { alive = IsWindow(saverWindow) != FALSE; }});
        EXPECT_EQ(registered != 0, c.platformId == VER_PLATFORM_WIN32_WINDOWS);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(prompt.calls, c.prompts);
        EXPECT_EQ(closesPosted(), c.closes ? 1 : 0);
        EXPECT_EQ(alive, !c.closes);
    }
}

TEST_F(SaverWindow, VerifierIsLoadedOnlyWhenTheUserSettingIsNonZero) {
    struct LoadCase {
        const char* name;
        bool consumerPlatform;
        bool key;
        DWORD type;
        std::vector<BYTE> value; // empty: no value
        bool module;
        bool entry;
        bool loaded;
    };
    const std::vector<BYTE> one = {1, 0, 0, 0};
    const LoadCase cases[] = {
        {"setting on", true, true, REG_DWORD, one, true, true, true},
        {"setting off", true, true, REG_DWORD, {0, 0, 0, 0}, true, true, false},
        {"setting as text \"1\"", true, true, REG_SZ, {'1', 0}, true, true, true},
        {"setting too long to read", true, true, REG_DWORD, {1, 0, 0, 0, 0, 0, 0, 0}, true, true, false},
        {"no setting", true, true, REG_DWORD, {}, true, true, false},
        {"no key", true, false, REG_DWORD, one, true, true, false},
        {"no module", true, true, REG_DWORD, one, false, false, false},
        {"module without the entry", true, true, REG_DWORD, one, true, false, false},
        {"NT platform", false, true, REG_DWORD, one, true, true, false},
    };
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.name);
        prepare();
        isWin32Windows = c.consumerPlatform;
        if (c.key) {
            testSetRegistryDword(DESKTOP_KEY, "ScreenSaveActive", 1);
            if (!c.value.empty())
                testSetRegistryValue(DESKTOP_KEY, USE_PASSWORD_VALUE, c.type, c.value.data(),
                                     static_cast<DWORD>(c.value.size()));
        }
        if (c.module) {
            std::vector<TestExport> exports;
            if (c.entry) exports.push_back({VERIFY_PASSWORD_NAME, testProcedure(fakeVerify)});
            testAddModule(PASSWORD_MODULE, exports);
        }
        loadPasswordVerifier();
        EXPECT_EQ(verifyPassword != nullptr, c.loaded);
        EXPECT_EQ(passwordModule != nullptr, c.loaded);
        EXPECT_EQ(testModuleLoadCount(PASSWORD_MODULE), c.loaded ? 1 : 0);
        EXPECT_EQ(testSaverRunningFlag() != FALSE, c.loaded);
        // Loading again replaces the module rather than stacking it.
        loadPasswordVerifier();
        EXPECT_EQ(testModuleLoadCount(PASSWORD_MODULE), c.loaded ? 1 : 0);
        unloadPasswordVerifier();
        EXPECT_EQ(verifyPassword, nullptr);
        EXPECT_EQ(passwordModule, nullptr);
        EXPECT_EQ(testModuleLoadCount(PASSWORD_MODULE), 0);
        EXPECT_FALSE(testSaverRunningFlag());
    }
}

TEST_F(SaverWindow, FailedStartsEndWithDefinedExitCodes) {
    // The class already exists, so it cannot be registered.
    WNDCLASSA taken = {};
    taken.lpfnWndProc = DefWindowProcA;
    taken.lpszClassName = SAVER_CLASS_NAME;
    ASSERT_NE(RegisterClassA(&taken), 0);
    EXPECT_EQ(runSaver("/s", {}), SAVER_EXIT_FAILURE);
    EXPECT_EQ(runSaver("/p 1234", {}), SAVER_EXIT_FAILURE);
    EXPECT_TRUE(testLiveWindows().empty());

    // No window can be created; the verifier loaded for the attempt is let go again.
    prepare();
    enablePasswords();
    testFailWindowCreation(true);
    EXPECT_EQ(runSaver("/s", {}), SAVER_EXIT_FAILURE);
    EXPECT_EQ(testModuleLoadCount(PASSWORD_MODULE), 0);
    EXPECT_FALSE(testSaverRunningFlag());
    EXPECT_EQ(runSaver("/p 1234", {}), SAVER_EXIT_FAILURE);

    // A saver already runs: it comes forward, nothing new is created or loaded.
    prepare();
    enablePasswords();
    HWND running = testAddForeignWindow(555, 64, 48, SAVER_CLASS_NAME, FULL_SCREEN_TITLE);
    EXPECT_EQ(runSaver("/s", {}), 0);
    EXPECT_EQ(GetForegroundWindow(), running);
    EXPECT_TRUE(testLiveWindows().empty());
    EXPECT_EQ(testModuleLoadCount(PASSWORD_MODULE), 0);
}

} // namespace
