// The Windows entry of nightgrid.scr: the argument text is whatever follows the program name on the
// command line, and the process ends with the shell's exit code. Only the Windows target builds this file;
// a Linux entry does the same from its own arguments.
#include "shell/saver_shell.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    ExitProcess(static_cast<UINT>(saverMain(instance, skipProgramName(GetCommandLineA()))));
}
