// Window-manager state that Qt's window flags cannot set without trouble, asked of an
// EWMH window manager directly over Qt's own X connection (so the requests stay in
// order with Qt's). Each call returns false, doing nothing, when the program is not an
// X11 client.
#pragma once

#include "app/WindowManager.h"

class QWidget;

namespace ombrix::app::x11 {

// Whether Qt runs on X11, so that these requests reach a window manager.
bool OnX11();

// Puts the top-level window into the topmost band ("above") or takes it out, keeping
// its X window. Qt's stay-on-top flag would re-create the X window at the first show
// after each change. The state holds across hide and show: the window manager forgets
// it when the window is unmapped, so it is written again before each map.
bool SetAbove(QWidget& window, bool above);

// Whether the window manager was asked to keep the window above (tests, diagnostics).
bool WantsAbove(const QWidget& window);

// Writes the frame's Motif hints, which EWMH window managers read for decorations and
// functions. Qt writes its own whenever it creates the X window or its flags change, so
// call this before each map (the show event comes just before it).
bool RequestFixedFrame(QWidget& window, FixedFrame frame);

// Requests the frame before each map of the window, for a window whose show events the
// caller does not see.
bool KeepFixedFrame(QWidget& window, FixedFrame frame);

// Asks for a plain border and no title bar, which Qt's flags cannot express (without a
// title Qt asks for no decoration at all), and leaves the window's name empty, where Qt
// would put the application's name. Call before the window is mapped.
bool RequestUntitledBorder(QWidget& window);

// Brings a minimised modal dialog back when the window manager gives the focus to the
// main window it blocks. Qt hands such a focus on to the dialog, but cannot activate a
// minimised one, which would leave the tool stuck. Returns false off X11.
bool ReturnModalDialogsWithMainWindow(QWidget& mainWindow);

} // namespace ombrix::app::x11
