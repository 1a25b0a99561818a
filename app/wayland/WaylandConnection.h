// The Wayland connection to send keys on: Qt's own when Qt runs on Wayland, or one of
// ours when Qt runs on XWayland inside a Wayland session (an X11 client cannot reach
// Wayland windows otherwise).
#pragma once

#include <memory>

struct wl_display;

namespace ombrix::app::wayland {

class WaylandConnection {
public:
    // Qt's connection; nullptr when Qt does not run on Wayland.
    static std::unique_ptr<WaylandConnection> OfQt();
    // A connection of our own to the session's compositor; nullptr when there is none.
    static std::unique_ptr<WaylandConnection> OfSession();
    ~WaylandConnection();
    WaylandConnection(const WaylandConnection&) = delete;
    WaylandConnection& operator=(const WaylandConnection&) = delete;

    wl_display* Display() const { return display_; }

private:
    WaylandConnection(wl_display* display, bool owned) : display_(display), owned_(owned) {}

    wl_display* display_;
    bool owned_;
};

} // namespace ombrix::app::wayland
