#include "app/DeliveryRoutes.h"

#include "app/x11/PasteFetchTracker.h"
#include "app/x11/X11KeyRoute.h"
#include "app/x11/XWayland.h"
#include "app/wayland/ClipboardFetchWatch.h"
#include "app/wayland/WaylandConnection.h"
#include "app/wayland/WaylandKeyRoute.h"

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
    // After XTest: under XWayland the compositor's virtual keyboard takes over when the
    // previous window is a Wayland one. On the Wayland platform it is the first choice.
    if (x11 != nullptr) {
        if (InWaylandSession()) {
            if (auto keys = wayland::WaylandKeyRoute::Open(wayland::WaylandConnection::OfSession()))
                routes.keys.push_back(std::move(keys));
        }
    } else if (auto connection = wayland::WaylandConnection::OfQt()) {
        if (auto keys = wayland::WaylandKeyRoute::Open(std::move(connection)))
            routes.keys.push_back(std::move(keys));
        routes.fetch = std::make_unique<wayland::ClipboardFetchWatch>();
    }
    return routes;
}

} // namespace ombrix::app
