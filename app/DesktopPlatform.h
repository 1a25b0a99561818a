// Sending on the real desktop: Qt's clipboard and main window, and keystrokes through X11
// where the session has it.
#pragma once

#include "app/DeliveryPlatform.h"

#include <QMetaObject>

#include <memory>

class QWidget;

namespace ombrix::app {

class PasteFetchTracker;
class X11Session;

class DesktopPlatform final : public DeliveryPlatform {
public:
    explicit DesktopPlatform(QWidget& mainWindow);
    ~DesktopPlatform() override;
    DesktopPlatform(const DesktopPlatform&) = delete;
    DesktopPlatform& operator=(const DesktopPlatform&) = delete;

    // Notes the window that has the focus now, unless it is ours: the one to hand the focus
    // back to. Called before the main window first shows, and whenever we lose the focus.
    void RememberFocusOutside();

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
    unsigned long OurWindow() const;

    QWidget& main_;
    std::unique_ptr<X11Session> x11_;
    std::unique_ptr<PasteFetchTracker> tracker_;
    unsigned long focusBefore_ = 0;
    QMetaObject::Connection focusWatch_;
};

} // namespace ombrix::app
