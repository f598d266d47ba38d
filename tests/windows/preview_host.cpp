// A stand-in for the display settings' preview: it opens a small window, starts the saver with
// "/p <window handle>" as Windows does, and checks the saver's child window from the parent's side (under
// Wine a GL child window does not reach root-window screenshots). Then it closes its window, which must end
// the saver with exit code 0.
//   preview_host.exe SAVER.scr
// Exit code 0 when every check held; the lines it prints say what it saw.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

const char* const HOST_CLASS = "NightGridPreviewHost";
const int HOST_WIDTH = 152; // about the size of the settings page's little monitor
const int HOST_HEIGHT = 112;

int failures = 0;

void check(bool ok, const char* what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what);
    std::fflush(stdout);
    if (!ok) ++failures;
}

LRESULT CALLBACK hostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Lets the host's own messages through while waiting, so the child's creation, which sends messages to
// its parent across the thread boundary, never stalls.
void pumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

HWND waitForPreview(HWND host, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        HWND child = FindWindowExA(host, nullptr, "WindowsScreenSaverClass", "Preview");
        if (child != nullptr) return child;
        pumpFor(20);
    }
    return nullptr;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: preview_host SAVER.scr\n");
        return 2;
    }
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = hostProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    windowClass.lpszClassName = HOST_CLASS;
    RegisterClassA(&windowClass);
    RECT frame = {0, 0, HOST_WIDTH, HOST_HEIGHT};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    HWND host = CreateWindowA(HOST_CLASS, "Night Grid preview host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance,
                              nullptr);
    if (host == nullptr) {
        std::printf("FAIL no host window\n");
        return 3;
    }
    pumpFor(100);

    char commandLine[MAX_PATH + 64];
    std::snprintf(commandLine, sizeof commandLine, "\"%s\" /p %lu", argv[1],
                  static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(host)));
    std::printf("starting %s\n", commandLine);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION saver = {};
    if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &saver)) {
        std::printf("FAIL cannot start the saver (error %lu)\n", static_cast<unsigned long>(GetLastError()));
        return 4;
    }

    HWND preview = waitForPreview(host, 10000);
    check(preview != nullptr, "a child of class WindowsScreenSaverClass titled Preview appears in the host");
    if (preview != nullptr) {
        // The window is visible only once its WM_CREATE, which builds the whole city, has returned.
        const DWORD found = GetTickCount();
        while (!IsWindowVisible(preview) && GetTickCount() - found < 10000)
            pumpFor(20);
        std::printf("     preview visible %lu ms after it appeared\n",
                    static_cast<unsigned long>(GetTickCount() - found));
        const LONG style = GetWindowLongA(preview, GWL_STYLE);
        std::printf("     preview style 0x%08lx\n", static_cast<unsigned long>(style));
        check((style & WS_CHILD) != 0 && (style & WS_VISIBLE) != 0, "it is a visible child window");
        check(GetParent(preview) == host, "its parent is the host window");
        RECT hostArea = {}, previewArea = {}, previewFrame = {};
        GetClientRect(host, &hostArea);
        GetClientRect(preview, &previewArea);
        GetWindowRect(preview, &previewFrame);
        POINT origin = {0, 0};
        ClientToScreen(host, &origin);
        std::printf("     host client %ldx%ld, preview client %ldx%ld at %ld,%ld in the host\n",
                    hostArea.right, hostArea.bottom, previewArea.right, previewArea.bottom,
                    previewFrame.left - origin.x, previewFrame.top - origin.y);
        check(previewArea.right == hostArea.right && previewArea.bottom == hostArea.bottom &&
                  previewFrame.left == origin.x && previewFrame.top == origin.y,
              "it covers the host's client area exactly");
        DWORD owner = 0;
        GetWindowThreadProcessId(preview, &owner);
        check(owner == saver.dwProcessId, "it belongs to the saver process");

        // Input that closes the full-screen saver must leave a preview alone.
        PostMessageA(preview, WM_KEYDOWN, VK_SPACE, 0);
        PostMessageA(preview, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        PostMessageA(preview, WM_ACTIVATEAPP, FALSE, 0);
        pumpFor(1500);
        check(IsWindow(preview) != FALSE, "it is still there after a key, a click and lost activation");
        check(WaitForSingleObject(saver.hProcess, 0) == WAIT_TIMEOUT, "the saver is still running");
    }

    // Closing the host destroys its children with it; the saver's loop then ends.
    DestroyWindow(host);
    pumpFor(50);
    const DWORD waited = WaitForSingleObject(saver.hProcess, 10000);
    check(waited == WAIT_OBJECT_0, "the saver ends when the host window closes");
    DWORD exitCode = 0xDEAD;
    if (waited != WAIT_OBJECT_0) {
        TerminateProcess(saver.hProcess, 99);
    } else {
        GetExitCodeProcess(saver.hProcess, &exitCode);
        std::printf("     saver exit code %ld\n", static_cast<long>(exitCode));
        check(exitCode == 0, "with exit code 0");
    }
    CloseHandle(saver.hThread);
    CloseHandle(saver.hProcess);
    return failures == 0 ? 0 : 1;
}
