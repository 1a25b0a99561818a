#include "app/wayland/WaylandConnection.h"

#include <QGuiApplication>
#include <qpa/qplatformnativeinterface.h>

#include <wayland-client.h>

#include <cstdlib>

namespace ombrix::app::wayland {

std::unique_ptr<WaylandConnection> WaylandConnection::OfQt()
{
    if (QGuiApplication::platformName() != QLatin1String("wayland"))
        return nullptr;
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    if (native == nullptr)
        return nullptr;
    // Only the display: Qt 6.4 crashes when asked for "wl_seat" on a compositor without a
    // seat, so the seat is looked up on the connection itself.
    auto* display = static_cast<wl_display*>(native->nativeResourceForIntegration("wl_display"));
    if (display == nullptr)
        return nullptr;
    return std::unique_ptr<WaylandConnection>(new WaylandConnection(display, false));
}

std::unique_ptr<WaylandConnection> WaylandConnection::OfSession()
{
    if (std::getenv("WAYLAND_DISPLAY") == nullptr)
        return nullptr;
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr)
        return nullptr;
    return std::unique_ptr<WaylandConnection>(new WaylandConnection(display, true));
}

WaylandConnection::~WaylandConnection()
{
    if (owned_)
        wl_display_disconnect(display_);
}

} // namespace ombrix::app::wayland
