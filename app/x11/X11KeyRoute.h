// Keys into X11 windows through XTest, on a connection of our own to the X server.
#pragma once

#include "app/KeyRoute.h"
#include "app/x11/X11Session.h"

#include <QMetaObject>

#include <memory>

class QWidget;

namespace ombrix::app::x11 {

class X11KeyRoute final : public KeyRoute {
public:
    // None when Qt does not run on X11, or the server lacks XTest or the keys. Opened
    // before the main window first shows, so it notes the window that was active before.
    // insideWayland: the X server is XWayland, and other windows may be Wayland ones.
    static std::unique_ptr<X11KeyRoute> Open(QWidget& mainWindow, bool insideWayland);
    ~X11KeyRoute() override;

    bool ReachesPreviousWindow() override;
    void PressPaste() override;
    void Press(Keystroke key) override;

private:
    X11KeyRoute(QWidget& mainWindow, std::unique_ptr<X11Session> session, bool insideWayland);

    // Notes the window that has the focus now, unless it is ours: the one to hand the focus
    // back to. Called on creation and whenever we lose the focus.
    void RememberFocusOutside();
    // Without a window manager nothing takes the focus when the main window hides.
    void HandFocusBackIfLost();
    XWindowId OurWindow() const;

    QWidget& main_;
    std::unique_ptr<X11Session> x11_;
    // Under XWayland the compositor owns the focus: we never move it, and a focus on no
    // X11 window means a Wayland window has it, which XTest keys cannot reach.
    bool insideWayland_ = false;
    XWindowId focusBefore_ = 0;
    QMetaObject::Connection focusWatch_;
};

} // namespace ombrix::app::x11
