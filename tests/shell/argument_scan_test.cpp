// The entry's argument scan end to end: which mode each argument text selects, with which owner or parent,
// and the exit code; the program-name skip of whole command lines; the configuration dialog.
#include "tests/shell/shell_test_support.h"

#include "shell/platform/offscreen_surface.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

enum class Mode { None, FullScreen, Preview, Configure, ChangePassword };

const char* modeName(Mode mode) {
    switch (mode) {
    case Mode::None:
        return "none";
    case Mode::FullScreen:
        return "full screen";
    case Mode::Preview:
        return "preview";
    case Mode::Configure:
        return "configure";
    case Mode::ChangePassword:
        return "change password";
    }
    return "?";
}

struct Observation {
    int exitCode = 0;
    Mode mode = Mode::None;
    HWND target = nullptr; // preview parent or dialog owner
};

Observation observed;
std::string passwordProvider;

DWORD WINAPI fakeChangePassword(LPCSTR provider, HWND owner, DWORD, DWORD) {
    observed.mode = Mode::ChangePassword;
    observed.target = owner;
    passwordProvider = provider != nullptr ? provider : "";
    return 0;
}

const UINT_PTR HOST = 1234;
const UINT_PTR FOREGROUND = 777;

class ArgumentScan : public ::testing::Test {
  protected:
    void SetUp() override { prepare(VER_PLATFORM_WIN32_NT); }
    void TearDown() override { resetShell(); }

    void prepare(DWORD platformId) {
        resetShell();
        observed = Observation{};
        passwordProvider.clear();
        testSetTickCount(1000);
        testSetPlatformId(platformId);
        offscreenSetScreenSize(64, 48);
        testAddForeignWindow(HOST, 80, 60);
        SetForegroundWindow(testAddForeignWindow(FOREGROUND, 300, 200));
        testAddDialogTemplate(CONFIG_DIALOG_TEMPLATE);
        testAddModule("MPR.DLL", {{"PwdChangePasswordA", testProcedure(fakeChangePassword)}});
    }

    // Runs the saver; on its first idle moment notes what it opened and answers it: closes the saver
    // window, cancels the dialog.
    Observation run(const char* argumentText) {
        int exitCode = runSaver(argumentText, {[] {
                                    if (HWND dialog = testOpenDialog()) {
                                        observed.mode = Mode::Configure;
                                        observed.target = testWindowInfo(dialog).parent;
                                        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                                    } else if (IsWindow(saverWindow)) {
                                        TestWindowInfo info = testWindowInfo(saverWindow);
                                        observed.mode = info.title == FULL_SCREEN_TITLE ? Mode::FullScreen
                                                                                        : Mode::Preview;
                                        observed.target = info.parent;
                                        PostMessageA(saverWindow, WM_CLOSE, 0, 0);
                                    }
                                }});
        observed.exitCode = exitCode;
        return observed;
    }
};

HWND window(UINT_PTR value) {
    return reinterpret_cast<HWND>(value);
}

struct ScanCase {
    const char* argumentText;
    DWORD platformId;
    int exitCode;
    Mode mode;
    UINT_PTR target;
};

TEST_F(ArgumentScan, EachSwitchSelectsItsModeOwnerAndExitCode) {
    const DWORD NT = VER_PLATFORM_WIN32_NT;
    const DWORD WINDOWS = VER_PLATFORM_WIN32_WINDOWS;
    const ScanCase cases[] = {
        {"/s", NT, 0, Mode::FullScreen, 0},
        {"-S", NT, 0, Mode::FullScreen, 0},
        {"s", NT, 0, Mode::FullScreen, 0},
        {" s", NT, 0, Mode::FullScreen, 0},
        {"/ -/s trailing", NT, 0, Mode::FullScreen, 0},
        {"/p 1234", NT, 0, Mode::Preview, HOST},
        {"/l 1234", NT, 0, Mode::Preview, HOST},
        {"/P    1234", NT, 0, Mode::Preview, HOST},
        {"/p1234", NT, 0, Mode::Preview, HOST},
        {"/p", NT, -1, Mode::None, 0},
        {"/p 0", NT, -1, Mode::None, 0},
        {"/p 999", NT, -1, Mode::None, 0},
        {"/p:1234", NT, -1, Mode::None, 0},
        {"/p -1234", NT, -1, Mode::None, 0},
        {"/p 4294968530", NT, 0, Mode::Preview, HOST}, // 2^32 + 1234: the handle wraps at 32 bits
        {"/c:1234", NT, 0, Mode::Configure, HOST},
        {"/C:1234", NT, 0, Mode::Configure, HOST},
        {"/c", NT, 0, Mode::Configure, FOREGROUND},
        {"/c 1234", NT, 0, Mode::Configure, FOREGROUND},
        {"/c:", NT, 0, Mode::Configure, FOREGROUND},
        {"/c:999", NT, 0, Mode::Configure, FOREGROUND},
        {"/c: 1234", NT, 0, Mode::Configure, FOREGROUND},
        {"", NT, 0, Mode::Configure, 0},
        {"   ", NT, 0, Mode::Configure, 0},
        {"/x", NT, -1, Mode::None, 0},
        {"\t/s", NT, -1, Mode::None, 0},
        {"/\ts", NT, -1, Mode::None, 0},
        {"\xC4", NT, -1, Mode::None, 0},
        {"/a 1234", NT, -1, Mode::None, 0},
        {"/a 1234", WINDOWS, 0, Mode::ChangePassword, HOST},
        {"/a", WINDOWS, 0, Mode::ChangePassword, FOREGROUND},
        {"/a 999", WINDOWS, 0, Mode::ChangePassword, FOREGROUND},
    };
    for (const ScanCase& c : cases) {
        SCOPED_TRACE(std::string("argument text \"") + c.argumentText + "\"");
        prepare(c.platformId);
        Observation seen = run(c.argumentText);
        EXPECT_EQ(seen.exitCode, c.exitCode);
        EXPECT_STREQ(modeName(seen.mode), modeName(c.mode));
        EXPECT_EQ(seen.target, window(c.target));
        // Nothing is left behind, whatever the mode.
        EXPECT_TRUE(testLiveWindows().empty());
        EXPECT_EQ(testModuleLoadCount("MPR.DLL"), 0);
    }
    EXPECT_EQ(passwordProvider, "SCRSAVE");
}

TEST_F(ArgumentScan, ProgramNameIsSkippedWithOrWithoutItsClosingQuote) {
    struct LineCase {
        const char* commandLine;
        const char* argumentText;
    };
    const LineCase cases[] = {
        {"nightgrid.scr /s", "/s"},
        {"nightgrid.scr\t \t/p 1234", "/p 1234"},
        {"\"C:\\Program Files\\night grid.scr\" /s", "/s"},
        {"\"C:\\Program Files\\night grid.scr\"/c:1234", "/c:1234"},
        {"\"\" /s", "/s"},
        {"\xC4rger.scr /s", "/s"}, // bytes above 0x7F belong to the name
        {"nightgrid.scr", ""},
        {"", ""},
        {"\"C:\\night grid.scr /s", ""}, // the quote never closes: the whole line is the name
        {"\"", ""},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(std::string("command line ") + c.commandLine);
        // An exact-size heap copy, so reading past the end is caught by the sanitizer build.
        std::vector<char> line(c.commandLine, c.commandLine + std::strlen(c.commandLine) + 1);
        LPCSTR argumentText = skipProgramName(line.data());
        EXPECT_STREQ(argumentText, c.argumentText);
        EXPECT_GE(argumentText, line.data());
        EXPECT_LE(argumentText, line.data() + line.size() - 1);
    }
    // The unclosed quote leaves an empty argument text: configure with no owner.
    std::vector<char> unclosed = {'"', 'x', ' ', '/', 's', '\0'};
    Observation seen = run(skipProgramName(unclosed.data()));
    EXPECT_STREQ(modeName(seen.mode), modeName(Mode::Configure));
    EXPECT_EQ(seen.target, nullptr);
}

TEST_F(ArgumentScan, ParseWindowHandleReadsLeadingDigitsOnly) {
    EXPECT_EQ(parseWindowHandle("1234"), 1234u);
    EXPECT_EQ(parseWindowHandle("0042x7"), 42u);
    EXPECT_EQ(parseWindowHandle(""), 0u);
    EXPECT_EQ(parseWindowHandle(" 12"), 0u);
    EXPECT_EQ(parseWindowHandle("+12"), 0u);
    EXPECT_EQ(parseWindowHandle("0x1F"), 0u);
    EXPECT_EQ(parseWindowHandle("4294967295"), 4294967295u);
    EXPECT_EQ(parseWindowHandle("4294967296"), 0u);
    EXPECT_EQ(parseWindowHandle("99999999999999999999999"), 4135583743u); // 10^23 - 1 modulo 2^32
}

TEST_F(ArgumentScan, ConfigureEndsWithTheDialogResultOrMinusOneWithoutATemplate) {
    auto answer = [](WPARAM command) {
        return [command] {
            HWND dialog = testOpenDialog();
            ASSERT_NE(dialog, nullptr);
            // Nothing but OK and Cancel ends it.
            PostMessageA(dialog, WM_COMMAND, 3, 0);
            PostMessageA(dialog, WM_COMMAND, command, 0);
        };
    };
    EXPECT_EQ(runSaver("/c", {answer(IDOK)}), 1);
    prepare(VER_PLATFORM_WIN32_NT);
    EXPECT_EQ(runSaver("/c", {answer(IDCANCEL)}), 0);
    prepare(VER_PLATFORM_WIN32_NT);
    EXPECT_EQ(runSaver("/c", {[] { PostMessageA(testOpenDialog(), WM_CLOSE, 0, 0); }}), 0);

    // The saver itself carries no template.
    resetShell();
    EXPECT_EQ(runSaver("/c", {}), -1);
    EXPECT_EQ(runSaver("", {}), -1);
}

} // namespace
