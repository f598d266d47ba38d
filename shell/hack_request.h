// XScreenSaver's ways of telling a hack where to draw, read from the Linux command line and environment
// before the shell's own argument scan sees anything: -root and --root, -window-id ID and --window-id ID
// (decimal, or hexadecimal after 0x), and the XSCREENSAVER_WINDOW variable that the daemon sets. Each
// becomes the preview switch, so under the daemon the saver draws in a child of the daemon's window and
// never grabs input. Linux only.
#pragma once

#include <string>

enum class HackTarget { none, window, root };

struct HackRequest {
    HackTarget target = HackTarget::none;
    unsigned long window = 0; // with HackTarget::window; 0 when the id was not a window number
};

// From argv[1] on: an explicit -window-id wins; -root means the daemon's window when the variable names
// one, else the root window; the variable alone counts only when there are no arguments at all.
HackRequest readHackRequest(int argc, const char* const* argv, const char* windowVariable);
// Decimal, or hexadecimal after "0x"; 0 for anything else, including a value past 32 bits.
unsigned long parseHackWindowId(const char* text);
// The argument text for the shell: "/p ID" for a request (the root window's id for HackTarget::root),
// otherwise the arguments as given, joined by single spaces.
std::string saverArgumentText(int argc, const char* const* argv, const HackRequest& request,
                              unsigned long rootWindow);
