// A small X client the end-to-end scripts drive the real saver with: it plays the host of a preview,
// destroys windows, grabs input, takes the focus away, finds the saver's window and waits for its first
// lit pixels. Every command prints what the script needs and exits 0 on success, 1 otherwise.
//   host W H           map a W x H top-level window, print its id in decimal, stay until killed
//   destroy ID         destroy window ID (any client's)
//   grab               grab keyboard and pointer on the root window
//   focus              give the keyboard focus to the root window
//   saver              print the id of the mapped top-level window of class WindowsScreenSaverClass
//   children ID        print how many children of ID are mapped
//   lit ID|saver MS    wait up to MS ms for a lit pixel in the middle row of the window; print the wait
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <unistd.h>

static int onError(Display*, XErrorEvent*) {
    return 0; // a window that went away between two calls is an answer, not a crash
}

static Window saverWindow(Display* d) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (!XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count)) return 0;
    for (unsigned i = 0; i < count && found == 0; ++i) {
        XClassHint hint = {nullptr, nullptr};
        if (!XGetClassHint(d, children[i], &hint)) continue;
        XWindowAttributes attributes;
        if (hint.res_class != nullptr && std::strcmp(hint.res_class, "WindowsScreenSaverClass") == 0 &&
            XGetWindowAttributes(d, children[i], &attributes) && attributes.map_state == IsViewable)
            found = children[i];
        XFree(hint.res_name);
        XFree(hint.res_class);
    }
    if (children != nullptr) XFree(children);
    return found;
}

static bool middleRowLit(Display* d, Window window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(d, window, &attributes) || attributes.map_state != IsViewable) return false;
    XImage* image = XGetImage(d, window, 0, attributes.height / 2, static_cast<unsigned>(attributes.width), 1,
                              AllPlanes, ZPixmap);
    if (image == nullptr) return false;
    bool lit = false;
    // The dark-blue sky is lit too: anything but black means a frame was presented.
    for (int x = 0; x < attributes.width && !lit; ++x)
        lit = XGetPixel(image, x, 0) != 0;
    XDestroyImage(image);
    return lit;
}

static int countMappedChildren(Display* d, Window window) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(d, window, &root, &parent, &children, &count)) return -1;
    int mapped = 0;
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(d, children[i], &attributes) && attributes.map_state == IsViewable) ++mapped;
    }
    if (children != nullptr) XFree(children);
    return mapped;
}

int main(int argc, char** argv) {
    if (argc < 2) return 1;
    std::string command = argv[1];
    Display* d = XOpenDisplay(nullptr);
    if (d == nullptr) {
        std::fprintf(stderr, "x11_probe: no display\n");
        return 1;
    }
    XSetErrorHandler(onError);
    Window root = DefaultRootWindow(d);
    auto windowArgument = [&](int i) -> Window {
        if (argc <= i) return 0;
        if (std::strcmp(argv[i], "saver") == 0) return saverWindow(d);
        return static_cast<Window>(std::strtoul(argv[i], nullptr, 0));
    };

    if (command == "host" && argc == 4) {
        unsigned width = static_cast<unsigned>(std::atoi(argv[2]));
        unsigned height = static_cast<unsigned>(std::atoi(argv[3]));
        Window host = XCreateSimpleWindow(d, root, 0, 0, width, height, 0, 0, 0);
        XStoreName(d, host, "preview host");
        XMapWindow(d, host);
        XSync(d, False);
        std::printf("%lu\n", host);
        std::fflush(stdout);
        for (;;)
            pause();
    }
    if (command == "destroy" && argc == 3) {
        XDestroyWindow(d, windowArgument(2));
        XSync(d, False);
        return 0;
    }
    if (command == "grab") {
        int keyboard = XGrabKeyboard(d, root, True, GrabModeAsync, GrabModeAsync, CurrentTime);
        int pointer = XGrabPointer(d, root, True, ButtonPressMask, GrabModeAsync, GrabModeAsync, None, None,
                                   CurrentTime);
        std::printf("keyboard %d pointer %d\n", keyboard, pointer);
        return keyboard == GrabSuccess && pointer == GrabSuccess ? 0 : 1;
    }
    if (command == "focus") {
        XSetInputFocus(d, root, RevertToNone, CurrentTime);
        XSync(d, False);
        return 0;
    }
    if (command == "saver") {
        Window saver = saverWindow(d);
        if (saver == 0) return 1;
        std::printf("%lu\n", saver);
        return 0;
    }
    if (command == "children" && argc == 3) {
        int mapped = countMappedChildren(d, windowArgument(2));
        std::printf("%d\n", mapped);
        return mapped >= 0 ? 0 : 1;
    }
    if (command == "lit" && argc == 4) {
        auto start = std::chrono::steady_clock::now();
        long limit = std::atol(argv[3]);
        for (;;) {
            Window window = windowArgument(2);
            long waited = static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                std::chrono::steady_clock::now() - start)
                                                .count());
            if (window != 0 && middleRowLit(d, window)) {
                std::printf("%ld\n", waited);
                return 0;
            }
            if (waited > limit) return 1;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    std::fprintf(stderr, "x11_probe: unknown command\n");
    return 1;
}
