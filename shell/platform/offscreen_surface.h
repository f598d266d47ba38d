// What the offscreen surface backend (offscreen.cpp) shows of itself: the screen it pretends to have and
// the frames its windows presented. For tests and tools that link that backend; non-Windows only.
#pragma once

#include "shell/platform/win32.h"

#include <vector>

// The screen that GetDC(NULL) and GetClipBox report; 640 x 480 until set.
void offscreenSetScreenSize(int width, int height);

// A window's presented (front) image as RGBA rows, bottom row first, the way glReadPixels gives them; empty
// for a window the backend does not know. Drawing reaches it only through SwapBuffers.
std::vector<unsigned char> offscreenFrontImage(HWND window, int* width, int* height);
// How many times SwapBuffers presented a frame of the window (0 once it is destroyed).
unsigned offscreenSwapCount(HWND window);
