// Window-manager requests to an EWMH window manager, over Qt's own X connection.
#pragma once

#include "app/WindowManager.h"

#include <memory>

namespace ombrix::app::x11 {

class X11WindowManager final : public WindowManager {
public:
    // None when Qt does not run on X11.
    static std::unique_ptr<X11WindowManager> Open();

    // Asks the window manager directly: a change of Qt's stay-on-top flag makes Qt
    // re-create the X window at its next show.
    void SetAbove(QWidget& window, bool above) override;
    void RequestFixedFrame(QWidget& window, FixedFrame frame) override;
    void KeepFixedFrame(QWidget& window, FixedFrame frame) override;
    void ReturnModalDialogsWithMainWindow(QWidget& mainWindow) override;

private:
    X11WindowManager() = default;
};

} // namespace ombrix::app::x11
