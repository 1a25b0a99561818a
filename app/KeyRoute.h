// One way of pressing keys in the window that was active before ours: XTest on X11, a
// virtual keyboard or the desktop portal on Wayland. The desktop asks each route it has,
// at every Send, whether it reaches the window that now has the focus, and uses the first
// that does. Routes are registered in OpenDeliveryRoutes (app/DeliveryRoutes.cpp).
#pragma once

#include "app/Keystroke.h"

namespace ombrix::app {

class KeyRoute {
public:
    KeyRoute() = default;
    virtual ~KeyRoute() = default;
    KeyRoute(const KeyRoute&) = delete;
    KeyRoute& operator=(const KeyRoute&) = delete;

    // Called once our main window has hidden and a tenth of a second has passed. Makes sure
    // that keys pressed now reach the window that was active before ours, as far as this
    // route can (on X11 without a window manager it hands the focus back), and tells whether
    // they will: false when this route cannot reach that window (on XWayland, a native
    // Wayland window has the focus). Nothing is pressed through a route that said false.
    // Must not block for long; may serve events.
    virtual bool ReachesPreviousWindow() = 0;

    // Ctrl+V into the focused window. Waits (boundedly, serving events) for the user to let
    // go of any modifier key first where the route can tell. Returns once the keys are on
    // their way; whether the target fetched the text is the PasteFetchWatch's business.
    virtual void PressPaste() = 0;

    // One key into the focused window. Space and the send key follow only once the target
    // has the pasted text.
    virtual void Press(Keystroke key) = 0;
};

} // namespace ombrix::app
