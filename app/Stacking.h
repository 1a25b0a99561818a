// Always On Top: the main window enters or leaves the window manager's topmost band
// without being hidden or re-created, and becomes the active window.
#pragma once

#include <cstdint>

class QWidget;

namespace modOmbrix {

// flag asks for the topmost band; an Always On Top value of 0 always gives an ordinary
// window, any other value allows the band.
void SetOnTop(QWidget& mainWindow, std::int16_t alwaysOnTop, bool flag);

} // namespace modOmbrix
