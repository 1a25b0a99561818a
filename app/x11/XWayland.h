// Whether an X11 client runs inside a Wayland session (through XWayland). There the X
// server sees only the X11 windows: a native Wayland window with the focus shows as no
// focus at all, and moving the X focus ourselves fights the compositor.
#pragma once

namespace ombrix::app::x11 {

// From the session's environment: WAYLAND_DISPLAY and XDG_SESSION_TYPE (null when unset).
bool IsWaylandSession(const char* waylandDisplay, const char* sessionType);

// The same, from this process's environment.
bool InWaylandSession();

} // namespace ombrix::app::x11
