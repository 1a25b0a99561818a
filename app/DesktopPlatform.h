// Sending on the real desktop: Qt's clipboard and main window, and keystrokes through X11
// where the session has it.
#pragma once

#include "app/DeliveryPlatform.h"
#include "app/X11Session.h"

#include <QMetaObject>

#include <memory>

class QWidget;

namespace ombrix::app {

class PasteFetchTracker;

class DesktopPlatform final : public DeliveryPlatform {
public:
    // Created before the main window first shows, so it notes the window that was active
    // before the tool.
    explicit DesktopPlatform(QWidget& mainWindow);
    ~DesktopPlatform() override;
    DesktopPlatform(const DesktopPlatform&) = delete;
    DesktopPlatform& operator=(const DesktopPlatform&) = delete;


    bool CanInjectKeys() override { return x11_ != nullptr; }
    void ClearClipboard() override;
    bool SetClipboardText(const QString& text) override;
    void HideMainWindow() override;
    void ShowMainWindow() override;
    void WaitTenth() override;
    void HandFocusBackIfLost() override;
    void PressPaste() override;
    void WaitForPasteFetched() override;
    void PressSpaceAndSend() override;

private:
    // Notes the window that has the focus now, unless it is ours: the one to hand the focus
    // back to. Called on creation and whenever we lose the focus.
    void RememberFocusOutside();
    XWindowId OurWindow() const;

    QWidget& main_;
    std::unique_ptr<X11Session> x11_;
    std::unique_ptr<PasteFetchTracker> tracker_;
    XWindowId focusBefore_ = 0;
    QMetaObject::Connection focusWatch_;
};

} // namespace ombrix::app
