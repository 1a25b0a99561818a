// What sending a message needs from the desktop, in small steps, so that the order of
// the steps can be checked with a recording stand-in and the windows never touch X11.
#pragma once

#include "app/Keystroke.h"
#include "app/MessageMatch.h"
#include "app/TargetView.h"

#include <QString>

#include <optional>

namespace ombrix::app {

// The field a paste is about to go into, as the previous window shows it.
struct TargetField {
    FocusedObject object;
    QString text;
};

// What became of the message after the send key.
enum class AfterSendKey {
    Sent,       // the field no longer holds it: the messenger took it
    StillThere, // the field still holds it
    Misfired,   // the key opened a menu or window instead; what it opened was closed
};

class DeliveryPlatform {
public:
    virtual ~DeliveryPlatform() = default;

    // Whether this session offers any way of pressing keys in another window and of
    // knowing that it fetched the paste. Without, paste mode leaves the HTML on the clipboard.
    virtual bool CanInjectKeys() = 0;

    virtual void ClearClipboard() = 0;
    // Puts the text on the clipboard as plain text, and where rich also as text/html;
    // false when the clipboard did not take it.
    virtual bool SetClipboardText(const QString& text, bool rich) = 0;

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
    // passed); true when it fetched. The check for a target that cannot be seen.
    virtual bool WaitForPasteFetched() = 0;
    // One key through the chosen route.
    virtual void Press(Keystroke key) = 0;

    // The checks that the previous window can be seen to pass, where it shows itself on the
    // accessibility bus. FollowTarget comes before HideMainWindow, so its focus is seen;
    // StopFollowingTarget once the send is over.
    virtual void FollowTarget() = 0;
    virtual void StopFollowingTarget() = 0;
    // After ChooseKeyRoute: the object that has the focus in the previous window, waiting
    // briefly for it to say so; none when that window cannot be seen.
    virtual std::optional<TargetField> SeeTarget() = 0;
    // Answers the clipboard until the seen field holds the message, for a bounded time;
    // false when it did not come.
    virtual bool WaitUntilFieldHolds(const OutgoingMessage& message) = 0;
    // Watches the seen field after the send key, for a bounded time. A key that opened a
    // menu or a window of the target instead is undone with Escape while the focus is there.
    virtual AfterSendKey WaitAfterSendKey(const OutgoingMessage& message) = 0;
};

} // namespace ombrix::app
