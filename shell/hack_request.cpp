// XScreenSaver's conventions turned into the shell's preview switch.
#include "shell/hack_request.h"

#include <cstring>

static const unsigned long LARGEST_ID = 0xFFFFFFFFul;

static bool isOption(const char* argument, const char* name) {
    // One dash or two, as the daemon and its users write them.
    if (argument[0] != '-') return false;
    const char* rest = argument[1] == '-' ? argument + 2 : argument + 1;
    return std::strcmp(rest, name) == 0;
}

// "-window-id=ID" or "--window-id=ID": the text after the "=", or null.
static const char* attachedValue(const char* argument, const char* name) {
    if (argument[0] != '-') return nullptr;
    const char* rest = argument[1] == '-' ? argument + 2 : argument + 1;
    size_t length = std::strlen(name);
    return std::strncmp(rest, name, length) == 0 && rest[length] == '=' ? rest + length + 1 : nullptr;
}

unsigned long parseHackWindowId(const char* text) {
    if (text == nullptr || *text == '\0') return 0;
    unsigned base = 10;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text += 2;
        if (*text == '\0') return 0;
    }
    unsigned long value = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        unsigned digit;
        if (*p >= '0' && *p <= '9')
            digit = static_cast<unsigned>(*p - '0');
        else if (base == 16 && *p >= 'a' && *p <= 'f')
            digit = static_cast<unsigned>(*p - 'a' + 10);
        else if (base == 16 && *p >= 'A' && *p <= 'F')
            digit = static_cast<unsigned>(*p - 'A' + 10);
        else
            return 0;
        // Checked before the multiply, so no value wraps into a small, valid-looking id.
        if (value > (LARGEST_ID - digit) / base) return 0;
        value = value * base + digit;
    }
    return value;
}

HackRequest readHackRequest(int argc, const char* const* argv, const char* windowVariable) {
    bool root = false;
    bool explicitWindow = false;
    unsigned long window = 0;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (argument == nullptr) continue;
        if (isOption(argument, "root")) {
            root = true;
        } else if (isOption(argument, "window-id")) {
            explicitWindow = true;
            window = i + 1 < argc ? parseHackWindowId(argv[++i]) : 0;
        } else if (const char* value = attachedValue(argument, "window-id")) {
            explicitWindow = true;
            window = parseHackWindowId(value);
        }
    }
    bool variableSet = windowVariable != nullptr && *windowVariable != '\0';
    HackRequest request;
    if (explicitWindow) {
        request.target = HackTarget::window;
        request.window = window;
    } else if (root && variableSet) {
        request.target = HackTarget::window;
        request.window = parseHackWindowId(windowVariable);
    } else if (root) {
        request.target = HackTarget::root;
    } else if (argc <= 1 && variableSet) {
        request.target = HackTarget::window;
        request.window = parseHackWindowId(windowVariable);
    }
    return request;
}

std::string saverArgumentText(int argc, const char* const* argv, const HackRequest& request,
                              unsigned long rootWindow) {
    if (request.target != HackTarget::none) {
        unsigned long window = request.target == HackTarget::root ? rootWindow : request.window;
        return "/p " + std::to_string(window);
    }
    std::string text;
    for (int i = 1; i < argc; ++i) {
        if (argv[i] == nullptr) continue;
        if (!text.empty()) text += ' ';
        text += argv[i];
    }
    return text;
}
