// Keys through the compositor's virtual keyboard (wlroots compositors). On the Wayland
// platform it reaches whatever window the compositor focused when ours hid; under
// XWayland it is the way into native Wayland windows, which XTest cannot reach.
#pragma once

#include "app/KeyRoute.h"
#include "app/wayland/WaylandConnection.h"
#include "app/wayland/WaylandKeyboard.h"

#include <chrono>
#include <memory>

namespace ombrix::app::wayland {

class WaylandKeyRoute final : public KeyRoute {
public:
    // None when the connection is missing or its compositor offers no virtual keyboard.
    static std::unique_ptr<WaylandKeyRoute> Open(std::unique_ptr<WaylandConnection> connection);

    // How long a target may take to read a paste it fetched before Space follows.
    static constexpr std::chrono::milliseconds kTargetReadsPaste{100};

    bool ReachesPreviousWindow() override;
    void PressPaste() override;
    void Press(Keystroke key) override;

private:
    WaylandKeyRoute(std::unique_ptr<WaylandConnection> connection, std::unique_ptr<WaylandKeyboard> keyboard)
        : connection_(std::move(connection)), keyboard_(std::move(keyboard))
    {
    }
    void Lost();

    std::unique_ptr<WaylandConnection> connection_;
    // Declared after the connection: it goes first.
    std::unique_ptr<WaylandKeyboard> keyboard_;
};

} // namespace ombrix::app::wayland
