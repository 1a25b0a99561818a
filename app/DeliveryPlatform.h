// What sending a message needs from the desktop, in small steps, so that the order of
// the steps can be checked with a recording stand-in and the windows never touch X11.
#pragma once

#include <QString>

namespace ombrix::app {

class DeliveryPlatform {
public:
    virtual ~DeliveryPlatform() = default;

    // Whether this session offers any way of pressing keys in another window and of
    // knowing that it fetched the paste. Without, paste mode leaves the HTML on the clipboard.
    virtual bool CanInjectKeys() = 0;

    virtual void ClearClipboard() = 0;
    // Puts the text on the clipboard as plain text; false when the clipboard did not take it.
    virtual bool SetClipboardText(const QString& text) = 0;

    virtual void HideMainWindow() = 0;
    // Shows the main window again and makes it the active window.
    virtual void ShowMainWindow() = 0;

    // Waits strictly longer than a tenth of a second, answering the clipboard meanwhile.
    virtual void WaitTenth() = 0;

    // With the main window hidden: picks the way of pressing keys that reaches the window
    // that was active before ours (handing the focus back to it where that is ours to do).
    // False when none reaches it; then no key may be pressed.
    virtual bool ChooseKeyRoute() = 0;

    // Ctrl+V through the chosen route, once the user has let go of any modifier key (for a
    // bounded time).
    virtual void PressPaste() = 0;
    // Answers the clipboard until the target has fetched the text (or the fetch limit
    // passed); true when it fetched.
    virtual bool WaitForPasteFetched() = 0;
    virtual void PressSpaceAndSend() = 0; // Space, then Alt+S, through the chosen route
};

} // namespace ombrix::app
