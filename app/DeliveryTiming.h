// The time rules of a paste-mode send, on a monotonic clock so that no wait depends on
// the time of day.
#pragma once

#include <chrono>

namespace ombrix::app {

using namespace std::chrono_literals;

inline constexpr std::chrono::nanoseconds kTenth = 100ms;
// A target fetches the text in one or more requests; this long without a new one means it
// has all of it.
inline constexpr std::chrono::nanoseconds kFetchQuiet = 50ms;
// A target that never asks (no text field has the focus) must not hold the send up for long.
inline constexpr std::chrono::nanoseconds kFetchLimit = 2s;

// How long the previous window has, once ours is hidden, to say on the accessibility bus
// which object has its focus; and how long that focus must stay put to count.
inline constexpr std::chrono::nanoseconds kFocusLimit = 300ms;
inline constexpr std::chrono::nanoseconds kFocusQuiet = 40ms;
// How long a seen field may take to show the pasted text: a busy target fetches the paste
// and inserts it seconds later. One that never fetched gives up at kFetchLimit.
inline constexpr std::chrono::nanoseconds kFieldLimit = 6s;
// How long a messenger may take to take the message from its field after the send key,
// and how long after the focus left the field a late emptying still counts.
inline constexpr std::chrono::nanoseconds kSendLimit = 3s;
inline constexpr std::chrono::nanoseconds kSendAfterFocusLeft = 200ms;
// How long Escape has to close a menu before the next one is pressed, and how many at most.
inline constexpr std::chrono::nanoseconds kEscapeLimit = 300ms;
inline constexpr int kMaxEscapes = 3;

// How long to wait for the user to let go of Shift or Ctrl (say after Shift+Enter) before
// the keys go out anyway.
inline constexpr std::chrono::nanoseconds kModifierLimit = 1s;

// A wait of "a tenth of a second" ends only once strictly more than 0.1 s has passed.
constexpr bool TenthIsOver(std::chrono::nanoseconds elapsed) { return elapsed > kTenth; }

// Whether to stop waiting for the target's paste: it has asked and then stayed quiet, or
// the limit has passed.
constexpr bool FetchWaitIsOver(int dataRequests, std::chrono::nanoseconds sinceLastRequest,
                               std::chrono::nanoseconds sinceKeys)
{
    if (sinceKeys >= kFetchLimit)
        return true;
    return dataRequests > 0 && sinceLastRequest >= kFetchQuiet;
}

} // namespace ombrix::app
