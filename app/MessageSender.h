// Send: puts the HTML on the clipboard and, in paste mode, pastes it into the window that
// was active before ours and sends it there.
#pragma once

#include "app/DeliveryPlatform.h"
#include "app/MessageMatch.h"
#include "ui/SendKeyChoice.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace ombrix::app {

// How a Send ended. Only the first four hand the message over; after any other the message
// stays in the box, and where the HTML is on the clipboard the user was told to paste it.
enum class SendOutcome {
    Sent,            // paste mode: the messenger's field was seen to take the message on its send key
    Pasted,          // paste mode, the target not seen: it fetched the paste; Space and Alt+S followed
    PastedOnly,      // paste mode: the message is in the messenger's field; its send key is "none"
    Copied,          // clipboard mode: the HTML waits on the clipboard
    LeftOnClipboard, // paste mode, but this desktop offers no keystrokes: the user pastes by hand
    Unreachable,     // no way of pressing keys reaches the previous window: nothing was pressed
    NoTextField,     // the previous window's focus is on no text field: nothing was pressed
    PasteNotTaken,   // the paste did not arrive: nothing else was pressed
    NotSent,         // the message is in the messenger's field, but its send key did not send it
    NoMode,          // no send-mode button is selected; the user was told
    NotDelivered,    // the clipboard refused the text; the user was told
    Busy,            // a send is already running
};

// Whether the message box should be emptied: only when the message went somewhere.
constexpr bool MessageHandedOver(SendOutcome outcome)
{
    return outcome == SendOutcome::Sent || outcome == SendOutcome::Pasted || outcome == SendOutcome::PastedOnly ||
           outcome == SendOutcome::Copied;
}

class MessageSender {
public:
    MessageSender(DeliveryPlatform& platform, ui::SendKeyBook& sendKeys) : platform_(platform), sendKeys_(sendKeys) {}

    // mode is the send mode: 0 pastes into the previous window, 1 copies to the clipboard.
    SendOutcome Send(std::optional<std::uint8_t> mode, const OutgoingMessage& message);

private:
    SendOutcome Paste(const OutgoingMessage& message);
    // The part with the main window hidden; it is back when this returns.
    SendOutcome PasteIntoPreviousWindow(const OutgoingMessage& message);
    // Into a window that shows its focused field: each step is checked in the field.
    SendOutcome PasteIntoSeenField(const TargetField& field, const OutgoingMessage& message);
    // Into a window that cannot be seen: the fetch of the clipboard is all there is to go by.
    SendOutcome PasteByFetch();
    void Tell(SendOutcome outcome);
    bool PutOnClipboard(const OutgoingMessage& message);

    DeliveryPlatform& platform_;
    ui::SendKeyBook& sendKeys_;
    bool busy_ = false;
    // Of the last paste, for telling the user: the program seen, what had its focus, the
    // key that was pressed to send.
    QString program_;
    QString role_;
    ui::SendKey sendKey_ = ui::SendKey::AltS;
};

} // namespace ombrix::app
