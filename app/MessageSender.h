// Send: puts the HTML on the clipboard and, in paste mode, pastes it into the window that
// was active before ours and sends it there.
#pragma once

#include "app/DeliveryPlatform.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace ombrix::app {

enum class SendOutcome {
    Pasted,          // paste mode: the keys went to the previous window
    Copied,          // clipboard mode: the HTML waits on the clipboard
    LeftOnClipboard, // paste mode without keystrokes: the user pastes by hand
    NoMode,          // no send-mode button is selected: nothing to do
    NotDelivered,    // the clipboard refused the text; the user was told
    Busy,            // a send is already running
};

// Whether the message box should be emptied: only when the message went somewhere.
constexpr bool MessageHandedOver(SendOutcome outcome)
{
    return outcome != SendOutcome::NotDelivered && outcome != SendOutcome::Busy;
}

class MessageSender {
public:
    explicit MessageSender(DeliveryPlatform& platform) : platform_(platform) {}

    // mode is the send mode: 0 pastes into the previous window, 1 copies to the clipboard.
    SendOutcome Send(std::optional<std::uint8_t> mode, const QString& html);

private:
    SendOutcome Paste(const QString& html);
    bool PutOnClipboard(const QString& html);

    DeliveryPlatform& platform_;
    bool busy_ = false;
};

} // namespace ombrix::app
