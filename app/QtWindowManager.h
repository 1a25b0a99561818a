// Where no window manager takes requests (Wayland, Qt's offscreen platform): Qt's
// stay-on-top flag for the stacking, and nothing for the frames, which stay the
// compositor's own.
#pragma once

#include "app/WindowManager.h"

namespace ombrix::app {

class QtWindowManager final : public WindowManager {
public:
    void SetAbove(QWidget& window, bool above) override;
    void RequestFixedFrame(QWidget&, FixedFrame) override {}
    void KeepFixedFrame(QWidget&, FixedFrame) override {}
    void ReturnModalDialogsWithMainWindow(QWidget&) override {}
};

} // namespace ombrix::app
