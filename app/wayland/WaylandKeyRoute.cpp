#include "app/wayland/WaylandKeyRoute.h"

#include "app/ServeEvents.h"

#include <cstdio>

namespace ombrix::app::wayland {

std::unique_ptr<WaylandKeyRoute> WaylandKeyRoute::Open(std::unique_ptr<WaylandConnection> connection)
{
    if (!connection)
        return nullptr;
    auto keyboard = WaylandKeyboard::Open(connection->Display());
    if (!keyboard)
        return nullptr;
    return std::unique_ptr<WaylandKeyRoute>(new WaylandKeyRoute(std::move(connection), std::move(keyboard)));
}

bool WaylandKeyRoute::ReachesPreviousWindow()
{
    if (!keyboard_)
        return false;
    // Keys typed right after a new keymap may be dropped; normally that was long ago.
    ServeEventsUntil([&] { return keyboard_->SinceKeymap() >= WaylandKeyboard::kKeymapSettle; });
    return true;
}

void WaylandKeyRoute::PressPaste()
{
    if (keyboard_ && !keyboard_->PressCtrlV())
        Lost();
}

void WaylandKeyRoute::Press(Keystroke key)
{
    if (key == Keystroke::Space) {
        // A Wayland target reads the pasted text from a pipe in its own time, and GTK
        // handles a key that arrives meanwhile first: the space would land before the text.
        // Measured under load, 50 ms after the last fetch was not always enough.
        const auto fetched = std::chrono::steady_clock::now();
        ServeEventsUntil([&] { return std::chrono::steady_clock::now() - fetched >= kTargetReadsPaste; });
    }
    if (keyboard_ && !keyboard_->Press(key))
        Lost();
}

void WaylandKeyRoute::Lost()
{
    std::fprintf(stderr, "ombrix: the connection to the Wayland compositor failed; no more keys go through it\n");
    keyboard_.reset();
}

} // namespace ombrix::app::wayland
