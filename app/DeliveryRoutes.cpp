#include "app/DeliveryRoutes.h"

#include "app/x11/PasteFetchTracker.h"
#include "app/x11/X11KeyRoute.h"
#include "app/x11/XWayland.h"

#include <QGuiApplication>

namespace ombrix::app {
namespace {

using namespace std::chrono_literals;

// Measured under sway: with this long between setting the clipboard and hiding, a Wayland
// target received it; hiding at once left it nothing to paste.
constexpr std::chrono::nanoseconds kXWaylandClipboardHandOver = 300ms;

} // namespace

DeliveryRoutes OpenDeliveryRoutes(QWidget& mainWindow)
{
    DeliveryRoutes routes;
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 != nullptr) {
        const bool insideWayland = InWaylandSession();
        if (auto keys = X11KeyRoute::Open(mainWindow, insideWayland))
            routes.keys.push_back(std::move(keys));
        routes.fetch = PasteFetchTracker::Install(x11->connection());
        if (insideWayland)
            routes.clipboardHandOver = kXWaylandClipboardHandOver;
    }
    // Wayland key routes go here, after XTest: under XWayland they take over when the
    // previous window is a Wayland one.
    return routes;
}

} // namespace ombrix::app
