// What the program asks of the window manager: the stacking of the main window and the
// frames of its fixed-size windows. An X11 window manager takes these requests; a
// Wayland compositor decides such things itself, so there the fallback only sets Qt's
// own stay-on-top flag.
#pragma once

#include <memory>

class QWidget;

namespace ombrix::app {

// The frames of the program's fixed-size windows, as the window manager should draw and
// handle them. Qt's own hints offer a fixed-size window a resize border, and leave a
// dialog's decorations to the window manager, which may then add a window menu button.
enum class FixedFrame {
    MainWindow, // title bar, window menu and minimise button; moves, minimises, closes
    Dialog,     // title bar and border only; moves
    Untitled,   // a plain border only, no title bar and an empty window name; moves
};

class WindowManager {
public:
    virtual ~WindowManager() = default;

    // Puts the top-level window into the topmost band ("above") or takes it out, without
    // hiding or re-creating it.
    virtual void SetAbove(QWidget& window, bool above) = 0;

    // Asks for the frame now: call it before each map of the window (its show event).
    virtual void RequestFixedFrame(QWidget& window, FixedFrame frame) = 0;
    // Asks for the frame before each map of a window whose show events the caller does
    // not see.
    virtual void KeepFixedFrame(QWidget& window, FixedFrame frame) = 0;

    // Brings a minimised modal dialog back when the main window it blocks gets the focus,
    // which would otherwise leave the tool stuck.
    virtual void ReturnModalDialogsWithMainWindow(QWidget& mainWindow) = 0;
};

// The window manager of this session: X11's when Qt runs on X11, otherwise the fallback.
std::unique_ptr<WindowManager> OpenWindowManager();

} // namespace ombrix::app
