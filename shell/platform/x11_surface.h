// What the X11 surface backend (x11_glx.cpp) offers the Linux entry beyond the Win32 subset: the root
// window, for XScreenSaver's -root, and an orderly end on SIGTERM. Linux only.
#pragma once

// The root window of the display's default screen as a window handle value; 0 when no display opens.
unsigned long x11RootWindow();

// From now on SIGTERM and SIGINT end the saver the way a close does: the next time the message loop looks
// for input, every saver window goes through DestroyWindow (WM_DESTROY kills the timer, deletes the star
// list and releases the context), the quit message ends the loop and the exit code is 0. The handler only
// writes a byte to a pipe; a signal that comes before any window exists waits for the first one.
void x11DestroyWindowsOnTermination();
