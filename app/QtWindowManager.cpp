#include "app/QtWindowManager.h"

#include <QWidget>
#include <QWindow>

namespace ombrix::app {

void QtWindowManager::SetAbove(QWidget& window, bool above)
{
    Qt::WindowFlags flags = window.windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, above);
    // setWindowFlags() would hide and re-create the window; changing the flags of the
    // mapped window only updates its "above" state.
    window.overrideWindowFlags(flags);
    if (QWindow* handle = window.windowHandle())
        handle->setFlags(flags);
}

} // namespace ombrix::app
