#include "app/MessageSender.h"

#include "ui/layer/MessageBox.h"

namespace ombrix::app {
namespace {

const QString kTitle = QStringLiteral("HTML Ombrix");

// Shows the main window again however the paste ends, also by an exception.
class ShowAgain {
public:
    explicit ShowAgain(DeliveryPlatform& platform) : platform_(platform) {}
    ~ShowAgain() { platform_.ShowMainWindow(); }
    ShowAgain(const ShowAgain&) = delete;
    ShowAgain& operator=(const ShowAgain&) = delete;

private:
    DeliveryPlatform& platform_;
};

// Cleared however the send ends.
class BusyFlag {
public:
    explicit BusyFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~BusyFlag() { flag_ = false; }
    BusyFlag(const BusyFlag&) = delete;
    BusyFlag& operator=(const BusyFlag&) = delete;

private:
    bool& flag_;
};

} // namespace

SendOutcome MessageSender::Send(std::optional<std::uint8_t> mode, const QString& html)
{
    // The waits of a paste serve events, so a second Send could arrive in the middle of one.
    if (busy_)
        return SendOutcome::Busy;
    BusyFlag busy(busy_);
    if (mode == 0)
        return Paste(html);
    if (mode == 1)
        return PutOnClipboard(html) ? SendOutcome::Copied : SendOutcome::NotDelivered;
    return SendOutcome::NoMode;
}

SendOutcome MessageSender::Paste(const QString& html)
{
    if (!PutOnClipboard(html))
        return SendOutcome::NotDelivered;
    if (!platform_.CanInjectKeys()) {
        layer::MessageBox::Warning(kTitle, QStringLiteral("Keystrokes cannot be sent to other windows on this "
                                                          "desktop (it needs an X11 session with the XTest "
                                                          "extension).\nThe message is on the clipboard: paste "
                                                          "it into the message window with Ctrl+V."));
        return SendOutcome::LeftOnClipboard;
    }

    ShowAgain showAgain(platform_);
    platform_.HideMainWindow();
    platform_.WaitTenth();
    platform_.HandFocusBackIfLost();
    // Ctrl+V goes alone: some toolkits handle Space and Alt+S before their paste has
    // arrived, so those two follow once the target has fetched the text.
    platform_.PressPaste();
    platform_.WaitForPasteFetched();
    platform_.PressSpaceAndSend();
    platform_.WaitTenth();
    platform_.ClearClipboard();
    return SendOutcome::Pasted;
}

bool MessageSender::PutOnClipboard(const QString& html)
{
    platform_.ClearClipboard();
    if (platform_.SetClipboardText(html))
        return true;
    layer::MessageBox::Warning(kTitle, QStringLiteral("The message could not be put on the clipboard (another "
                                                      "program may hold it), so it was not sent.\nYour text is "
                                                      "still in the message box: try Send again."));
    return false;
}

} // namespace ombrix::app
