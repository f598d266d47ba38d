// The configure mode: a modal dialog with OK and Cancel only, since the scene has nothing to set. The saver
// carries no dialog template on any platform, so the dialog call fails and configure ends with -1.
#include "shell/saver_shell.h"

INT_PTR showConfigDialog(HWND owner) {
    if (!registerConfigDialogClasses(saverInstance)) return FALSE;
    return DialogBoxParamA(saverInstance, MAKEINTRESOURCEA(CONFIG_DIALOG_TEMPLATE), owner, configDialogProc,
                           0);
}

INT_PTR CALLBACK configDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND) {
        switch (LOWORD(wParam)) {
        case IDOK:
            EndDialog(dialog, 1);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        }
    }
    return FALSE;
}

BOOL registerConfigDialogClasses(HINSTANCE) {
    return TRUE;
} // the dialog needs no classes of its own
