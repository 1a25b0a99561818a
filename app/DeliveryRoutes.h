// What the desktop session offers for pasting into another window, found once at start-up.
// Each platform has its folder (app/x11/, app/wayland/, app/portal/); this is the one place
// that knows them all. With no key route, Send can only copy.
#pragma once

#include "app/KeyRoute.h"
#include "app/PasteFetchWatch.h"
#include "app/TargetView.h"

#include <chrono>
#include <memory>
#include <vector>

class QWidget;

namespace ombrix::app {

struct DeliveryRoutes {
    // In the order they are tried at each Send.
    std::vector<std::unique_ptr<KeyRoute>> keys;
    // Knows when the target fetched the clipboard; none: no paste mode.
    std::unique_ptr<PasteFetchWatch> fetch;
    // Shows what the target holds, where it is on the accessibility bus; none: every send
    // goes by the fetch alone.
    std::unique_ptr<TargetView> target;
    // How long the clipboard needs, after it is set, before our window may hide: XWayland
    // hands an X11 client's clipboard to Wayland programs only while an X11 window has
    // the focus.
    std::chrono::nanoseconds clipboardHandOver{0};
};

// Created before the main window first shows, so that the routes can note the window that
// was active before the tool.
DeliveryRoutes OpenDeliveryRoutes(QWidget& mainWindow);

} // namespace ombrix::app
