#include "app/MessageSender.h"

#include "ui/layer/MessageBox.h"

namespace ombrix::app {
namespace {

const QString kTitle = QStringLiteral("HTML Ombrix");
const QString kPasteByHand = QStringLiteral("The message is on the clipboard to paste by hand, and still in the "
                                            "message box.");

void Warn(const QString& why) { layer::MessageBox::Warning(kTitle, why + QLatin1Char('\n') + kPasteByHand); }

Keystroke AsKeystroke(ui::SendKey key)
{
    switch (key) {
    case ui::SendKey::Enter: return Keystroke::Enter;
    case ui::SendKey::CtrlEnter: return Keystroke::CtrlEnter;
    case ui::SendKey::AltS:
    case ui::SendKey::None: break;
    }
    return Keystroke::AltS;
}

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

// Follows the target's focus for as long as it lives.
class FollowTarget {
public:
    explicit FollowTarget(DeliveryPlatform& platform) : platform_(platform) { platform_.FollowTarget(); }
    ~FollowTarget() { platform_.StopFollowingTarget(); }
    FollowTarget(const FollowTarget&) = delete;
    FollowTarget& operator=(const FollowTarget&) = delete;

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

SendOutcome MessageSender::Send(std::optional<std::uint8_t> mode, const OutgoingMessage& message)
{
    // The waits of a paste serve events, so a second Send could arrive in the middle of one.
    if (busy_)
        return SendOutcome::Busy;
    BusyFlag busy(busy_);
    if (mode == 0)
        return Paste(message);
    if (mode == 1)
        return PutOnClipboard(message) ? SendOutcome::Copied : SendOutcome::NotDelivered;
    layer::MessageBox::Warning(kTitle, QStringLiteral("Send does not know where to deliver the message: choose "
                                                      "it under Options.\nYour text is still in the message box."));
    return SendOutcome::NoMode;
}

SendOutcome MessageSender::Paste(const OutgoingMessage& message)
{
    if (!PutOnClipboard(message))
        return SendOutcome::NotDelivered;
    if (!platform_.CanInjectKeys()) {
        Warn(QStringLiteral("This desktop offers no way of pressing keys in another window, so the message was "
                            "not pasted."));
        return SendOutcome::LeftOnClipboard;
    }
    program_.clear();
    role_.clear();
    const SendOutcome outcome = PasteIntoPreviousWindow(message);
    Tell(outcome); // once the main window is back, so the message stands over it
    return outcome;
}

SendOutcome MessageSender::PasteIntoPreviousWindow(const OutgoingMessage& message)
{
    ShowAgain showAgain(platform_);
    FollowTarget follow(platform_);
    platform_.HideMainWindow();
    platform_.WaitTenth();
    if (!platform_.ChooseKeyRoute())
        return SendOutcome::Unreachable;
    if (const std::optional<TargetField> field = platform_.SeeTarget())
        return PasteIntoSeenField(*field, message);
    return PasteByFetch();
}

SendOutcome MessageSender::PasteIntoSeenField(const TargetField& field, const OutgoingMessage& message)
{
    program_ = field.object.program;
    role_ = field.object.role;
    sendKeys_.Note(program_);
    // A buddy list or a button would take Ctrl+V, Space and the send key as commands.
    if (!field.object.editable)
        return SendOutcome::NoTextField;
    // Sent again after a send key that did not send: the message is there already, and a
    // second paste would double it.
    const bool alreadyThere = Recognisable(message) && FieldHolds(field.text, message);
    if (!alreadyThere) {
        platform_.PressPaste();
        // A busy target may fetch the paste and handle later keys before it inserts the
        // text: nothing more is pressed until the field shows it.
        if (!platform_.WaitUntilFieldHolds(message))
            return SendOutcome::PasteNotTaken;
    }
    sendKey_ = sendKeys_.For(program_);
    if (sendKey_ == ui::SendKey::None) {
        platform_.WaitTenth();
        platform_.ClearClipboard();
        return SendOutcome::PastedOnly;
    }
    if (!alreadyThere)
        platform_.Press(Keystroke::Space);
    platform_.Press(AsKeystroke(sendKey_));
    if (platform_.WaitAfterSendKey(message) != AfterSendKey::Sent)
        return SendOutcome::NotSent; // the HTML stays on the clipboard
    platform_.ClearClipboard();
    return SendOutcome::Sent;
}

SendOutcome MessageSender::PasteByFetch()
{
    // Ctrl+V goes alone: some toolkits handle Space and Alt+S before their paste has
    // arrived, so those two follow once the target has fetched the text. A target that
    // fetched nothing has no text field, and Alt+S there could press one of its buttons.
    sendKey_ = ui::SendKey::AltS;
    platform_.PressPaste();
    if (!platform_.WaitForPasteFetched())
        return SendOutcome::PasteNotTaken;
    platform_.Press(Keystroke::Space);
    platform_.Press(Keystroke::AltS);
    platform_.WaitTenth();
    platform_.ClearClipboard();
    return SendOutcome::Pasted;
}

void MessageSender::Tell(SendOutcome outcome)
{
    const QString program = program_.isEmpty() ? QStringLiteral("The previous window") : program_;
    switch (outcome) {
    case SendOutcome::Unreachable:
        Warn(QStringLiteral("Keys cannot be pressed in the previous window (the desktop offers no way there, or "
                            "its permission was declined), so nothing was pasted or sent."));
        break;
    case SendOutcome::NoTextField:
        Warn(QStringLiteral("%1 had no text field in focus (the focus was on a %2), so nothing was pasted or "
                            "pressed there.")
                 .arg(program, role_.isEmpty() ? QStringLiteral("control") : role_));
        break;
    case SendOutcome::PasteNotTaken:
        if (program_.isEmpty())
            Warn(QStringLiteral("The previous window did not take the paste (it may have no text field), so "
                                "nothing was sent."));
        else
            Warn(QStringLiteral("%1 did not show the message in its text field after Ctrl+V, so nothing more "
                                "was pressed and nothing was sent.")
                     .arg(program));
        break;
    case SendOutcome::NotSent: {
        const ui::SendKey next = ui::NextSendKey(sendKey_);
        const QString question = QStringLiteral("Pasted, not sent: %1 did not send the message on %2. It is in "
                                                "%1's text field, and still in the message box.\n\nSend with %3 "
                                                "in %1 from now on?")
                                     .arg(program, ui::SendKeyName(sendKey_), ui::SendKeyName(next));
        if (layer::MessageBox::Question(kTitle, question))
            ui::ChooseSendKey(sendKeys_, program_, next);
        break;
    }
    default: break;
    }
}

bool MessageSender::PutOnClipboard(const OutgoingMessage& message)
{
    platform_.ClearClipboard();
    if (platform_.SetClipboardText(message.html, message.rich))
        return true;
    layer::MessageBox::Warning(kTitle, QStringLiteral("The message could not be put on the clipboard (another "
                                                      "program may hold it), so it was not sent.\nYour text is "
                                                      "still in the message box: try Send again."));
    return false;
}

} // namespace ombrix::app
