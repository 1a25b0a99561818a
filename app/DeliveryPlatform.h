// What sending a message needs from the desktop, in small steps, so that the order of
// the steps can be checked with a recording stand-in and the windows never touch X11.
#pragma once

#include <QString>

namespace ombrix::app {

class DeliveryPlatform {
public:
    virtual ~DeliveryPlatform() = default;

    // Whether keystrokes can be sent to another window (an X server with XTest whose
    // keyboard map has Ctrl, Alt, V, S and Space).
    virtual bool CanInjectKeys() = 0;

    virtual void ClearClipboard() = 0;
    // Puts the text on the clipboard as plain text; false when the clipboard did not take it.
    virtual bool SetClipboardText(const QString& text) = 0;

    virtual void HideMainWindow() = 0;
    // Shows the main window again and makes it the active window.
    virtual void ShowMainWindow() = 0;

    // Waits strictly longer than a tenth of a second, answering the clipboard meanwhile.
    virtual void WaitTenth() = 0;
    // Without a window manager nothing takes the focus when the main window hides: hand it
    // back to the window that had it before ours.
    virtual void HandFocusBackIfLost() = 0;

    // Ctrl+V, once the user has let go of any modifier key (for a bounded time).
    virtual void PressPaste() = 0;
    // Answers the clipboard until the target has fetched the text (or a bounded time passed).
    virtual void WaitForPasteFetched() = 0;
    virtual void PressSpaceAndSend() = 0; // Space, then Alt+S
};

} // namespace ombrix::app
