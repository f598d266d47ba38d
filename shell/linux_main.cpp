// The Linux entry of nightgrid: XScreenSaver's conventions become the preview switch, the arguments become
// the command line the shell reads, SIGTERM is turned into an orderly close, and the process ends with the
// shell's exit code. Links the X11 surface backend.
#include "shell/hack_request.h"
#include "shell/platform/surface.h"
#include "shell/platform/x11_surface.h"
#include "shell/saver_shell.h"

#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    HackRequest request = readHackRequest(argc, argv, std::getenv("XSCREENSAVER_WINDOW"));
    unsigned long root = request.target == HackTarget::root ? x11RootWindow() : 0;
    std::string program = argc > 0 && argv[0] != nullptr ? argv[0] : "nightgrid";
    // Quoted, so a program path with blanks is skipped whole; a quote inside it could not be.
    std::string quoted;
    for (char c : program)
        if (c != '"') quoted += c;
    std::string commandLine = "\"" + quoted + "\" " + saverArgumentText(argc, argv, request, root);
    platformSetCommandLine(commandLine.c_str());
    x11DestroyWindowsOnTermination();
    ExitProcess(static_cast<UINT>(saverMain(GetModuleHandleA(nullptr), skipProgramName(GetCommandLineA()))));
}
