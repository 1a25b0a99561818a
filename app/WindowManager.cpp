#include "app/WindowManager.h"

#include "app/QtWindowManager.h"
#include "app/x11/X11WindowManager.h"

namespace ombrix::app {

std::unique_ptr<WindowManager> OpenWindowManager()
{
    if (auto x11 = x11::X11WindowManager::Open())
        return x11;
    return std::make_unique<QtWindowManager>();
}

} // namespace ombrix::app
