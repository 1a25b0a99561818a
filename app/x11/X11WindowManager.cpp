#include "app/x11/X11WindowManager.h"

#include "app/x11/WindowState.h"

namespace ombrix::app::x11 {

std::unique_ptr<X11WindowManager> X11WindowManager::Open()
{
    if (!OnX11())
        return nullptr;
    return std::unique_ptr<X11WindowManager>(new X11WindowManager());
}

void X11WindowManager::SetAbove(QWidget& window, bool above) { x11::SetAbove(window, above); }

void X11WindowManager::RequestFixedFrame(QWidget& window, FixedFrame frame)
{
    if (frame == FixedFrame::Untitled)
        RequestUntitledBorder(window);
    else
        x11::RequestFixedFrame(window, frame);
}

void X11WindowManager::KeepFixedFrame(QWidget& window, FixedFrame frame) { x11::KeepFixedFrame(window, frame); }

void X11WindowManager::ReturnModalDialogsWithMainWindow(QWidget& mainWindow)
{
    x11::ReturnModalDialogsWithMainWindow(mainWindow);
}

} // namespace ombrix::app::x11
