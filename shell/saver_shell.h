// The screen-saver shell: the entry with its argument scan, the saver window and its procedures, the
// close-on-input and password conventions, the password change and the configuration dialog. Written once
// against shell/platform/win32.h, so the same source runs on Windows and on our layer elsewhere.
#pragma once

#include "shell/platform/win32.h"

// ---- Shell state (process-wide, one instance) ----
extern HINSTANCE saverInstance;
extern HWND saverWindow;
extern bool isWin32Windows; // dwPlatformId 1: the only platform with a password check
extern bool isPreview;
extern bool isClosing;
extern bool isCheckingPassword;
extern POINT lastCursorPos;
extern DWORD lastPasswordCheckTick;
extern UINT autoPlayCancelMessage;

typedef BOOL(WINAPI* VerifyPasswordFunction)(HWND window);
typedef HANDLE(WINAPI* AssociateContextFunction)(HWND window, HANDLE inputContext);
typedef DWORD(WINAPI* ChangePasswordFunction)(LPCSTR provider, HWND owner, DWORD reserved1, DWORD reserved2);

extern HMODULE passwordModule;
extern VerifyPasswordFunction verifyPassword;
extern HMODULE inputMethodModule;
extern AssociateContextFunction associateContext;
extern HANDLE savedInputContext;

// ---- Scene-side state held by sceneWindowProc ----
extern int clientWidth;
extern int clientHeight;
extern HDC deviceContext;
extern HGLRC renderContext;

// ---- Constants ----
constexpr unsigned MOUSE_MOVE_TOLERANCE = 4;     // pixels; a move closes when |dx| + |dy| exceeds it
constexpr DWORD PASSWORD_RECHECK_MS = 200;       // no new prompt this soon after the last one ended
constexpr UINT VERIFY_PASSWORD_REQUEST = WM_APP; // asks the window to run the password prompt
constexpr int CONFIG_DIALOG_TEMPLATE = 2003;
constexpr int APP_ICON_ID = 100;
constexpr UINT_PTR FRAME_TIMER_ID = 1;
constexpr UINT FRAME_TIMER_PERIOD_MS = 5;

constexpr int SAVER_EXIT_FAILURE = -1;              // unknown switch, missing window, no window created
constexpr DWORD PASSWORD_CHECK_NEVER = 0xFFFFFFFFu; // lastPasswordCheckTick before the first prompt
constexpr WPARAM POWER_CRITICAL_RESUME = PWR_CRITICALRESUME;

constexpr const char* SAVER_CLASS_NAME = "WindowsScreenSaverClass";
constexpr const char* FULL_SCREEN_TITLE = "Screen Saver";
constexpr const char* PREVIEW_TITLE = "Preview";
constexpr UINT SAVER_CLASS_STYLE = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;            // 0x2B
constexpr DWORD FULL_SCREEN_STYLE = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN; // 0x96000000
constexpr DWORD FULL_SCREEN_EX_STYLE = WS_EX_TOPMOST;
constexpr DWORD PREVIEW_STYLE = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN; // 0x52000000
constexpr DWORD PREVIEW_EX_STYLE = 0;

constexpr const char* AUTOPLAY_MESSAGE_NAME = "QueryCancelAutoPlay";
constexpr const char* INPUT_METHOD_MODULE = "IMM32.DLL";
constexpr const char* ASSOCIATE_CONTEXT_NAME = "ImmAssociateContext";
constexpr const char* PASSWORD_MODULE = "PASSWORD.CPL";
constexpr const char* VERIFY_PASSWORD_NAME = "VerifyScreenSavePwd";
constexpr const char* PASSWORD_CHANGE_MODULE = "MPR.DLL";
constexpr const char* CHANGE_PASSWORD_NAME = "PwdChangePasswordA";
constexpr const char* PASSWORD_PROVIDER = "SCRSAVE";
constexpr const char* DESKTOP_KEY = "Control Panel\\Desktop";
constexpr const char* USE_PASSWORD_VALUE = "ScreenSaveUsePassword";

// ---- Entry ----
// The argument text of a command line: past the program name (quoted or not) and the blanks after it.
// A quote that never closes ends the program name at the end of the text.
LPCSTR skipProgramName(LPCSTR commandLine);
int saverMain(HINSTANCE instance, LPCSTR argumentText);
// Leading decimal digits, wrapping modulo 2^32; anything else ends the number (empty gives 0).
UINT parseWindowHandle(LPCSTR text);

// ---- Window ----
int runSaverWindow(HWND parent);
LRESULT CALLBACK saverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK sceneWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK defaultSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// ---- Password ----
bool checkPasswordOnClose(HWND window);
void loadPasswordVerifier();
void unloadPasswordVerifier();
void setSaverRunning(bool flag);
void changeSaverPassword(HWND owner);

// ---- Configuration ----
INT_PTR showConfigDialog(HWND owner);
INT_PTR CALLBACK configDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
BOOL registerConfigDialogClasses(HINSTANCE instance);
