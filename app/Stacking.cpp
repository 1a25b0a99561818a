#include "app/Stacking.h"

#include <QWidget>
#include <QWindow>

namespace modOmbrix {

void SetOnTop(QWidget& mainWindow, std::int16_t alwaysOnTop, bool flag)
{
    const bool topmost = flag && alwaysOnTop != 0;
    Qt::WindowFlags flags = mainWindow.windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, topmost);
    // setWindowFlags() would hide and re-create the window; changing the flags of the
    // mapped window only updates its "above" state.
    mainWindow.overrideWindowFlags(flags);
    if (QWindow* window = mainWindow.windowHandle())
        window->setFlags(flags);
    if (mainWindow.isVisible()) {
        mainWindow.raise();
        mainWindow.activateWindow();
    }
}

} // namespace modOmbrix
