#include "app/x11/XWayland.h"

#include <cstdlib>
#include <cstring>

namespace ombrix::app::x11 {

bool IsWaylandSession(const char* waylandDisplay, const char* sessionType)
{
    if (waylandDisplay != nullptr && *waylandDisplay != '\0')
        return true;
    return sessionType != nullptr && std::strcmp(sessionType, "wayland") == 0;
}

bool InWaylandSession() { return IsWaylandSession(std::getenv("WAYLAND_DISPLAY"), std::getenv("XDG_SESSION_TYPE")); }

} // namespace ombrix::app::x11
