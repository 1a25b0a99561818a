#include "app/Stacking.h"

#include "app/x11/WindowState.h"

#include <QWidget>
#include <QWindow>

namespace modOmbrix {

void SetOnTop(QWidget& mainWindow, std::int16_t alwaysOnTop, bool flag)
{
    const bool topmost = flag && alwaysOnTop != 0;
    // On X11 the window manager is asked directly: a change of Qt's stay-on-top flag
    // makes Qt re-create the X window at its next show.
    if (!ombrix::app::x11::SetAbove(mainWindow, topmost)) {
        Qt::WindowFlags flags = mainWindow.windowFlags();
        flags.setFlag(Qt::WindowStaysOnTopHint, topmost);
        // setWindowFlags() would hide and re-create the window; changing the flags of the
        // mapped window only updates its "above" state.
        mainWindow.overrideWindowFlags(flags);
        if (QWindow* window = mainWindow.windowHandle())
            window->setFlags(flags);
    }
    if (mainWindow.isVisible()) {
        mainWindow.raise();
        mainWindow.activateWindow();
    }
}

} // namespace modOmbrix
