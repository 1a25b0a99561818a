#include "app/MessageSender.h"

#include "ui/layer/MessageBox.h"

namespace ombrix::app {
namespace {

const QString kTitle = QStringLiteral("HTML Ombrix");
const QString kPasteByHand = QStringLiteral("The message is on the clipboard to paste by hand, and still in the "
                                            "message box.");

void Warn(const QString& why) { layer::MessageBox::Warning(kTitle, why + QLatin1Char('\n') + kPasteByHand); }

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
    layer::MessageBox::Warning(kTitle, QStringLiteral("Send does not know where to deliver the message: choose "
                                                      "it under Options.\nYour text is still in the message box."));
    return SendOutcome::NoMode;
}

SendOutcome MessageSender::Paste(const QString& html)
{
    if (!PutOnClipboard(html))
        return SendOutcome::NotDelivered;
    if (!platform_.CanInjectKeys()) {
        Warn(QStringLiteral("This desktop offers no way of pressing keys in another window, so the message was "
                            "not pasted."));
        return SendOutcome::LeftOnClipboard;
    }
    const SendOutcome outcome = PasteIntoPreviousWindow();
    // Told once the main window is back, so the message stands over it.
    if (outcome == SendOutcome::Unreachable)
        Warn(QStringLiteral("Keys cannot be pressed in the previous window (the desktop offers no way there, or "
                            "its permission was declined), so nothing was pasted or sent."));
    else if (outcome == SendOutcome::PasteNotTaken)
        Warn(QStringLiteral("The previous window did not take the paste (it may have no text field), so nothing "
                            "was sent."));
    return outcome;
}

SendOutcome MessageSender::PasteIntoPreviousWindow()
{
    ShowAgain showAgain(platform_);
    platform_.HideMainWindow();
    platform_.WaitTenth();
    if (!platform_.ChooseKeyRoute())
        return SendOutcome::Unreachable;
    // Ctrl+V goes alone: some toolkits handle Space and Alt+S before their paste has
    // arrived, so those two follow once the target has fetched the text. A target that
    // fetched nothing has no text field, and Alt+S there could press one of its buttons.
    platform_.PressPaste();
    if (!platform_.WaitForPasteFetched())
        return SendOutcome::PasteNotTaken;
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
