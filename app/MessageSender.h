// Send: puts the HTML on the clipboard and, in paste mode, pastes it into the window that
// was active before ours and sends it there.
#pragma once

#include "app/DeliveryPlatform.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace ombrix::app {

// How a Send ended. Only the first two hand the message over; after any other the message
// stays in the box, and where the HTML is on the clipboard the user was told to paste it.
enum class SendOutcome {
    Pasted,          // paste mode: the previous window fetched the paste; Space and Alt+S followed
    Copied,          // clipboard mode: the HTML waits on the clipboard
    LeftOnClipboard, // paste mode, but this desktop offers no keystrokes: the user pastes by hand
    Unreachable,     // no way of pressing keys reaches the previous window: nothing was pressed
    PasteNotTaken,   // the previous window fetched nothing: Space and Alt+S were not pressed
    NoMode,          // no send-mode button is selected; the user was told
    NotDelivered,    // the clipboard refused the text; the user was told
    Busy,            // a send is already running
};

// Whether the message box should be emptied: only when the message went somewhere.
constexpr bool MessageHandedOver(SendOutcome outcome)
{
    return outcome == SendOutcome::Pasted || outcome == SendOutcome::Copied;
}

class MessageSender {
public:
    explicit MessageSender(DeliveryPlatform& platform) : platform_(platform) {}

    // mode is the send mode: 0 pastes into the previous window, 1 copies to the clipboard.
    SendOutcome Send(std::optional<std::uint8_t> mode, const QString& html);

private:
    SendOutcome Paste(const QString& html);
    // The part with the main window hidden; it is back when this returns.
    SendOutcome PasteIntoPreviousWindow();
    bool PutOnClipboard(const QString& html);

    DeliveryPlatform& platform_;
    bool busy_ = false;
};

} // namespace ombrix::app
