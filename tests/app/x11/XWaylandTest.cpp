#include "app/x11/XWayland.h"

#include <gtest/gtest.h>

namespace {

TEST(XWayland, AWaylandSessionIsToldByItsSocketOrTheSessionType)
{
    struct Case {
        const char* waylandDisplay;
        const char* sessionType;
        bool wayland;
    } cases[] = {
        {nullptr, nullptr, false},                          // a plain X11 session, e.g. Xvfb
        {"wayland-0", nullptr, true}, {"", nullptr, false}, // exported but empty: no socket to reach
        {nullptr, "wayland", true},                         // a compositor that leaves WAYLAND_DISPLAY to its clients
        {nullptr, "x11", false},      {"", "tty", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ombrix::app::x11::IsWaylandSession(c.waylandDisplay, c.sessionType), c.wayland)
            << (c.waylandDisplay ? c.waylandDisplay : "(unset)") << " / "
            << (c.sessionType ? c.sessionType : "(unset)");
}

} // namespace
