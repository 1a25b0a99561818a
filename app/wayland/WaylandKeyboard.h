// Keystrokes into the focused window of a wlroots compositor (sway, Hyprland, river,
// labwc) through its virtual keyboard interface. Other compositors do not offer it.
#pragma once

#include "app/Keystroke.h"

#include <chrono>
#include <memory>

struct wl_display;

namespace ombrix::app::wayland {

class WaylandKeyboard {
public:
    // A virtual keyboard on the seat of the given connection (which stays the caller's);
    // nullptr when there is no connection, no seat, or no virtual keyboard on offer.
    static std::unique_ptr<WaylandKeyboard> Open(wl_display* display);
    ~WaylandKeyboard();
    WaylandKeyboard(const WaylandKeyboard&) = delete;
    WaylandKeyboard& operator=(const WaylandKeyboard&) = delete;

    // Each returns once the compositor has handled the keys; false when the connection
    // failed on the way.
    bool PressCtrlV();
    bool Press(Keystroke key);

    // The compositor needs a moment with a new keymap before keys typed with it count.
    static constexpr std::chrono::milliseconds kKeymapSettle{100};
    std::chrono::steady_clock::duration SinceKeymap() const;

private:
    struct Objects;
    explicit WaylandKeyboard(std::unique_ptr<Objects> objects);

    void Tap(unsigned key, unsigned modifiers);

    std::unique_ptr<Objects> objects_;
};

} // namespace ombrix::app::wayland
