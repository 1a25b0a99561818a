// Sending on the real desktop: Qt's clipboard and main window, and keystrokes through
// whichever route of the session reaches the previous window at the time of the Send.
#pragma once

#include "app/DeliveryPlatform.h"
#include "app/DeliveryRoutes.h"

#include <chrono>

class QWidget;

namespace ombrix::app {

class DesktopPlatform final : public DeliveryPlatform {
public:
    // Created before the main window first shows, so the routes note the window that was
    // active before the tool.
    explicit DesktopPlatform(QWidget& mainWindow);
    DesktopPlatform(QWidget& mainWindow, DeliveryRoutes routes);
    DesktopPlatform(const DesktopPlatform&) = delete;
    DesktopPlatform& operator=(const DesktopPlatform&) = delete;

    bool CanInjectKeys() override;
    void ClearClipboard() override;
    bool SetClipboardText(const QString& text, bool rich) override;
    void HideMainWindow() override;
    void ShowMainWindow() override;
    void WaitTenth() override;
    bool ChooseKeyRoute() override;
    void PressPaste() override;
    bool WaitForPasteFetched() override;
    void Press(Keystroke key) override;
    void FollowTarget() override;
    void StopFollowingTarget() override;
    std::optional<TargetField> SeeTarget() override;
    bool WaitUntilFieldHolds(const OutgoingMessage& message) override;
    AfterSendKey WaitAfterSendKey(const OutgoingMessage& message) override;

private:
    using Clock = std::chrono::steady_clock;

    QWidget& main_;
    DeliveryRoutes routes_;
    KeyRoute* route_ = nullptr; // chosen for the current send; null: press nothing
    Clock::time_point clipboardSet_{};
    Clock::time_point pasteKeys_{};
    std::optional<FocusedObject> field_; // the seen field of the current send
    int windowsBefore_ = 0;              // the target's windows opened when the field was seen

    // The seen field's text when it may have changed since it was last read.
    class FieldReader;
    // Presses Escape while the focus sits in a menu or a new window that the send key
    // opened in the target, so that the next key the user types is not taken as a command.
    void CloseWhatTheKeyOpened();
};

} // namespace ombrix::app
