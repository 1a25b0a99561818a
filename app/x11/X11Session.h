// Our own connection to the X server, for what Qt does not offer: keystrokes into other
// windows (XTest) and the input focus. Xlib stays inside X11Session.cpp, because its
// macros (None, Bool, KeyPress, Status) break Qt's headers.
#pragma once

#include "app/Keystroke.h"

#include <memory>

namespace ombrix::app::x11 {

using XWindowId = unsigned long;

class X11Session {
public:
    // Connects to the server of the given Xlib Display (Qt's); nullptr when there is none,
    // it lacks XTest, or its keyboard map lacks one of the keys a send presses.
    static std::unique_ptr<X11Session> Open(void* qtDisplay);
    ~X11Session();
    X11Session(const X11Session&) = delete;
    X11Session& operator=(const X11Session&) = delete;

    // Whether the user still holds a modifier key (Shift, Ctrl, Alt, ...): it would
    // combine with the keys we send.
    bool ModifierHeld();

    void PressCtrlV();
    void Press(Keystroke key);

    XWindowId FocusedWindow();
    // No window or the root window: keys sent now would reach no application.
    bool IsNoWindow(XWindowId window) const;
    // Gives the window the focus; a window that has gone meanwhile is ignored.
    void GiveFocus(XWindowId window);

private:
    struct Keys;
    X11Session(void* display, std::unique_ptr<Keys> keys);

    void* display_;
    std::unique_ptr<Keys> keys_;
};

} // namespace ombrix::app::x11
