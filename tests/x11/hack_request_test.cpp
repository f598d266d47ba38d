// XScreenSaver's conventions as the Linux entry reads them, and the argument text they become.
#include "shell/hack_request.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

HackRequest read(std::vector<const char*> arguments, const char* variable = nullptr) {
    arguments.insert(arguments.begin(), "nightgrid");
    return readHackRequest(static_cast<int>(arguments.size()), arguments.data(), variable);
}

std::string text(std::vector<const char*> arguments, const char* variable = nullptr,
                 unsigned long root = 0x1d8) {
    arguments.insert(arguments.begin(), "nightgrid");
    int count = static_cast<int>(arguments.size());
    return saverArgumentText(count, arguments.data(), readHackRequest(count, arguments.data(), variable),
                             root);
}

} // namespace

TEST(HackRequest, WindowIdsInDecimalAndHexadecimal) {
    EXPECT_EQ(parseHackWindowId("4194305"), 4194305ul);
    EXPECT_EQ(parseHackWindowId("0x400001"), 0x400001ul);
    EXPECT_EQ(parseHackWindowId("0XaBcD"), 0xabcdul);
    EXPECT_EQ(parseHackWindowId("0xFFFFFFFF"), 0xFFFFFFFFul);
    // Not a window number: refused as 0, which the shell's preview switch turns into -1.
    for (const char* bad :
         {"", "0x", "-5", "12ab", " 12", "0x1g", "4294967296", "0x100000000", "99999999999999999999"})
        EXPECT_EQ(parseHackWindowId(bad), 0ul) << bad;
    EXPECT_EQ(parseHackWindowId(nullptr), 0ul);
}

TEST(HackRequest, EachConventionBecomesThePreviewSwitch) {
    EXPECT_EQ(text({"-window-id", "4194305"}), "/p 4194305");
    EXPECT_EQ(text({"--window-id", "0x400001"}), "/p 4194305");
    EXPECT_EQ(text({"--window-id=0x400001"}), "/p 4194305");
    EXPECT_EQ(text({"-root"}), "/p 472");
    EXPECT_EQ(text({"--root"}), "/p 472");
    // The daemon sets the variable and starts the hack with --root: its window, not the real root.
    EXPECT_EQ(text({"--root"}, "0x600003"), "/p 6291459");
    EXPECT_EQ(text({}, "0x600003"), "/p 6291459");
    // An explicit id wins over the variable, wherever the options stand; other options go unread.
    EXPECT_EQ(text({"--fps", "--root", "-window-id", "0x10"}, "0x600003"), "/p 16");
    // A missing or bad id asks for a preview of window 0, which the shell refuses.
    EXPECT_EQ(text({"-window-id"}), "/p 0");
    EXPECT_EQ(text({"--root"}, "garbage"), "/p 0");
}

TEST(HackRequest, OtherArgumentsReachTheShellAsGiven) {
    EXPECT_EQ(read({"/s"}).target, HackTarget::none);
    EXPECT_EQ(text({"/s"}), "/s");
    EXPECT_EQ(text({"/p", "1234"}), "/p 1234");
    EXPECT_EQ(text({"/c:1234"}), "/c:1234");
    EXPECT_EQ(text({}), "");
    // The variable alone counts only without arguments: an explicit switch is the user's.
    EXPECT_EQ(text({"/s"}, "0x600003"), "/s");
    EXPECT_EQ(text({}, ""), "");
    // Look-alikes are not the conventions.
    EXPECT_EQ(text({"-rooted"}), "-rooted");
    EXPECT_EQ(text({"root"}), "root");
    EXPECT_EQ(text({"---root"}), "---root");
}
