#include "app/DeliveryRoutes.h"

#include "app/atspi/AtspiTargetView.h"
#include "app/x11/PasteFetchTracker.h"
#include "app/x11/X11KeyRoute.h"
#include "app/x11/XWayland.h"
#include "app/portal/PortalKeyRoute.h"
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
    const bool insideWayland = x11 != nullptr && x11::InWaylandSession(); // an XWayland client
    if (x11 != nullptr) {
        if (auto keys = x11::X11KeyRoute::Open(mainWindow, insideWayland))
            routes.keys.push_back(std::move(keys));
        routes.fetch = x11::PasteFetchTracker::Install(x11->connection());
        if (insideWayland)
            routes.clipboardHandOver = kXWaylandClipboardHandOver;
    }
    // After XTest: under XWayland the compositor's keys take over when the previous window
    // is a Wayland one. On the Wayland platform they are the only way.
    const bool onWayland = x11 == nullptr && QGuiApplication::platformName() == QLatin1String("wayland");
    if (onWayland || insideWayland) {
        auto connection = onWayland ? wayland::WaylandConnection::OfQt() : wayland::WaylandConnection::OfSession();
        if (auto keys = wayland::WaylandKeyRoute::Open(std::move(connection)))
            routes.keys.push_back(std::move(keys));
        else if (auto portal = portal::PortalKeyRoute::Open(QDBusConnection::sessionBus(),
                                                            portal::PortalKeyRoute::DefaultTokenFile()))
            routes.keys.push_back(std::move(portal)); // GNOME and KDE offer no virtual keyboard
    }
    if (onWayland)
        routes.fetch = std::make_unique<wayland::ClipboardFetchWatch>();
    if (!routes.keys.empty())
        routes.target = std::make_unique<atspi::AtspiTargetView>();
    return routes;
}

} // namespace ombrix::app
