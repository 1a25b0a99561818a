#include "app/x11/PasteFetchTracker.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <xcb/xcb.h>

using ombrix::app::x11::PasteFetchTracker;

namespace {

constexpr std::uint32_t kPrimary = 1, kUtf8 = 500, kTextPlain = 501;
constexpr std::uint32_t kTargets = 401, kTimestamp = 402, kMultiple = 403, kFileList = 600, kPng = 601;
const PasteFetchTracker::Atoms kAtoms{/*clipboard*/ 400, {kUtf8, kTextPlain}};

bool Feed(PasteFetchTracker& tracker, std::uint8_t type, std::uint32_t selection, std::uint32_t target)
{
    xcb_selection_request_event_t event{};
    event.response_type = type;
    event.selection = selection;
    event.target = target;
    return tracker.nativeEventFilter("xcb_generic_event_t", &event, nullptr);
}

TEST(PasteFetchTracker, CountsOnlyRequestsForTheClipboardText)
{
    PasteFetchTracker tracker(kAtoms);
    tracker.Start();
    EXPECT_FALSE(Feed(tracker, XCB_SELECTION_REQUEST, kAtoms.clipboard, kTargets)); // Qt still answers
    Feed(tracker, XCB_SELECTION_REQUEST, kAtoms.clipboard, kTimestamp);
    Feed(tracker, XCB_SELECTION_REQUEST, kAtoms.clipboard, kMultiple);
    Feed(tracker, XCB_SELECTION_REQUEST, kAtoms.clipboard, kFileList); // a file manager pasting files
    Feed(tracker, XCB_SELECTION_REQUEST, kAtoms.clipboard, kPng);      // an image program
    Feed(tracker, XCB_SELECTION_REQUEST, kPrimary, kUtf8);             // another selection
    Feed(tracker, XCB_SELECTION_NOTIFY, kAtoms.clipboard, kUtf8);      // another event
    EXPECT_EQ(tracker.DataRequests(), 0);
    EXPECT_EQ(tracker.SinceLastRequest(), std::chrono::nanoseconds::max());

    Feed(tracker, XCB_SELECTION_REQUEST, kAtoms.clipboard, kTextPlain);
    Feed(tracker, XCB_SELECTION_REQUEST | 0x80, kAtoms.clipboard, kUtf8); // sent by another client
    EXPECT_EQ(tracker.DataRequests(), 2);
    EXPECT_LT(tracker.SinceLastRequest(), std::chrono::seconds(10));
}

TEST(PasteFetchTracker, IgnoresRequestsBeforeStartAndRestartsTheCount)
{
    PasteFetchTracker tracker(kAtoms);
    Feed(tracker, XCB_SELECTION_REQUEST, kAtoms.clipboard, kUtf8); // a clipboard manager reading early
    EXPECT_EQ(tracker.DataRequests(), 0);
    tracker.Start();
    Feed(tracker, XCB_SELECTION_REQUEST, kAtoms.clipboard, kUtf8);
    EXPECT_EQ(tracker.DataRequests(), 1);
    tracker.Start();
    EXPECT_EQ(tracker.DataRequests(), 0);
    EXPECT_FALSE(tracker.nativeEventFilter("windows_generic_MSG", nullptr, nullptr));
}

} // namespace
