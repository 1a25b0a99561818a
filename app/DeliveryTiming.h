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
