// Window-manager state that Qt's window flags cannot set without trouble, asked of an
// EWMH window manager directly over Qt's own X connection (so the requests stay in
// order with Qt's). Each call returns false, doing nothing, when the program is not an
// X11 client.
#pragma once

class QWidget;

namespace ombrix::app::x11 {

// Puts the top-level window into the topmost band ("above") or takes it out, keeping
// its X window. Qt's stay-on-top flag would re-create the X window at the first show
// after each change. The state holds across hide and show: the window manager forgets
// it when the window is unmapped, so it is written again before each map.
bool SetAbove(QWidget& window, bool above);

// Whether the window manager was asked to keep the window above (tests, diagnostics).
bool WantsAbove(const QWidget& window);

// Asks for a plain border and no title bar, which Qt's flags cannot express (without a
// title Qt asks for no decoration at all), and leaves the window's name empty, where Qt
// would put the application's name. Call before the window is mapped.
bool RequestUntitledBorder(QWidget& window);

// Brings a minimised modal dialog back when the window manager gives the focus to the
// main window it blocks. Qt hands such a focus on to the dialog, but cannot activate a
// minimised one, which would leave the tool stuck. Returns false off X11.
bool ReturnModalDialogsWithMainWindow(QWidget& mainWindow);

} // namespace ombrix::app::x11
