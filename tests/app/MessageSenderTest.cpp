#include "app/DeliveryTiming.h"
#include "app/MessageSender.h"
#include "tests/app/RecordingPlatform.h"
#include "tests/ui/WarningCapture.h"

#include <gtest/gtest.h>

using namespace ombrix;
using namespace ombrix::app;
using Steps = std::vector<std::string>;

namespace {

const Steps kPasteSteps = {"clear",   "set",         "hide", "wait",  "route", "ctrl+v",
                           "fetched", "space alt+s", "wait", "clear", "show"};
// Nothing fetched the paste: no Space or Alt+S, and the HTML stays for pasting by hand.
const Steps kNotTakenSteps = {"clear", "set", "hide", "wait", "route", "ctrl+v", "fetched", "show"};
// No route reaches the previous window: not a key is pressed.
const Steps kUnreachableSteps = {"clear", "set", "hide", "wait", "route", "show"};

struct SenderTest : ::testing::Test {
    RecordingPlatform platform;
    MessageSender sender{platform};
    test::WarningCapture warningBoxes;
    std::vector<QString>& warnings = warningBoxes.texts;
};

struct SendCase {
    const char* name;
    std::optional<std::uint8_t> mode;
    bool keys;
    bool clipboardTakesText;
    SendOutcome outcome;
    Steps steps;
    QString clipboardAfter;
    bool warned;
    bool reachable = true;
    bool fetched = true;
};

// Named in failure messages instead of as the case's raw bytes.
void PrintTo(const SendCase& c, std::ostream* os) { *os << c.name; }

class SendCases : public SenderTest, public ::testing::WithParamInterface<SendCase> {};

TEST_P(SendCases, StepsOutcomeAndStateAfterwards)
{
    const SendCase& c = GetParam();
    platform.keys = c.keys;
    platform.clipboardTakesText = c.clipboardTakesText;
    platform.reachable = c.reachable;
    platform.fetched = c.fetched;
    const SendOutcome outcome = sender.Send(c.mode, "<FONT COLOR=FF0000>a</FONT> ");
    EXPECT_EQ(outcome, c.outcome);
    EXPECT_EQ(platform.steps, c.steps);
    EXPECT_EQ(platform.clipboard, c.clipboardAfter);
    EXPECT_TRUE(platform.windowVisible);
    EXPECT_EQ(warnings.size(), c.warned ? 1u : 0u);
}

const QString kHtml = "<FONT COLOR=FF0000>a</FONT> ";

INSTANTIATE_TEST_SUITE_P(
    Modes, SendCases,
    ::testing::Values(
        SendCase{"PasteEndsWithAnEmptyClipboardAndTheWindowBack", 0, true, true, SendOutcome::Pasted, kPasteSteps, "",
                 false},
        SendCase{"CopyLeavesTheHtmlAndNeverHides", 1, true, true, SendOutcome::Copied, {"clear", "set"}, kHtml, false},
        SendCase{"NoSelectedModeTouchesNothingButSaysSo", std::nullopt, true, true, SendOutcome::NoMode, {}, "", true},
        SendCase{"ModeOutOfRangeTouchesNothingButSaysSo", 2, true, true, SendOutcome::NoMode, {}, "", true},
        SendCase{"APasteNobodyFetchedIsNeitherSentNorCleared", 0, true, true, SendOutcome::PasteNotTaken,
                 kNotTakenSteps, kHtml, true, true, false},
        SendCase{"AnUnreachablePreviousWindowGetsNoKeys", 0, true, true, SendOutcome::Unreachable, kUnreachableSteps,
                 kHtml, true, false, true},
        SendCase{"PasteWithoutKeystrokesLeavesItOnTheClipboard",
                 0,
                 false,
                 true,
                 SendOutcome::LeftOnClipboard,
                 {"clear", "set"},
                 kHtml,
                 true},
        SendCase{"PasteWithARefusingClipboardHidesNothing",
                 0,
                 true,
                 false,
                 SendOutcome::NotDelivered,
                 {"clear", "set"},
                 "",
                 true},
        SendCase{"CopyWithARefusingClipboardIsReported",
                 1,
                 true,
                 false,
                 SendOutcome::NotDelivered,
                 {"clear", "set"},
                 "",
                 true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SenderTest, TheWindowComesBackWhateverStepFails)
{
    for (const std::string step : {"wait", "route", "ctrl+v", "fetched", "space alt+s"}) {
        RecordingPlatform failing;
        failing.failAt = step;
        MessageSender s(failing);
        EXPECT_THROW(s.Send(0, "x"), std::runtime_error) << step;
        EXPECT_TRUE(failing.windowVisible) << step;
        EXPECT_EQ(failing.steps.back(), "show") << step;
        // The failed send does not block the next one.
        failing.failAt.clear();
        failing.steps.clear();
        EXPECT_EQ(s.Send(0, "x"), SendOutcome::Pasted) << step;
    }
}

TEST_F(SenderTest, ASecondSendDuringTheWaitsIsRefused)
{
    std::optional<SendOutcome> nested;
    platform.duringWait = [&] { nested = sender.Send(1, "second"); };
    EXPECT_EQ(sender.Send(0, "first"), SendOutcome::Pasted);
    EXPECT_EQ(nested, SendOutcome::Busy);
    EXPECT_EQ(platform.steps, kPasteSteps);
}

TEST(MessageHandedOver, OnlyAMessageThatWentSomewhereEmptiesTheBox)
{
    EXPECT_TRUE(MessageHandedOver(SendOutcome::Pasted));
    EXPECT_TRUE(MessageHandedOver(SendOutcome::Copied));
    // Whoever still has to paste by hand needs the text.
    EXPECT_FALSE(MessageHandedOver(SendOutcome::LeftOnClipboard));
    EXPECT_FALSE(MessageHandedOver(SendOutcome::Unreachable));
    EXPECT_FALSE(MessageHandedOver(SendOutcome::PasteNotTaken));
    EXPECT_FALSE(MessageHandedOver(SendOutcome::NoMode));
    EXPECT_FALSE(MessageHandedOver(SendOutcome::NotDelivered));
    EXPECT_FALSE(MessageHandedOver(SendOutcome::Busy));
}

TEST(DeliveryTiming, ATenthEndsOnlyStrictlyAfterATenth)
{
    using namespace std::chrono_literals;
    EXPECT_FALSE(TenthIsOver(0ns));
    EXPECT_FALSE(TenthIsOver(99ms));
    EXPECT_FALSE(TenthIsOver(100ms));
    EXPECT_TRUE(TenthIsOver(100ms + 1ns));
    EXPECT_TRUE(TenthIsOver(24h)); // no time of day: nothing wraps at midnight
}

TEST(DeliveryTiming, TheFetchWaitEndsWhenTheTargetIsQuietOrTheLimitPasses)
{
    using namespace std::chrono_literals;
    const auto never = std::chrono::nanoseconds::max();
    struct Case {
        int requests;
        std::chrono::nanoseconds sinceLast, sinceKeys;
        bool over;
    } cases[] = {
        {0, never, 10ms, false},                       // not asked yet
        {0, never, 1999ms, false},                     // a slow target still gets its time
        {0, never, 2s, true},                          // a target that never asks
        {1, 10ms, 30ms, false},                        // still fetching (more parts may follow)
        {1, 50ms, 60ms, true},                         // quiet after its request
        {3, 49ms, 1s, false},      {3, 1ms, 2s, true}, // never past the limit
    };
    for (const Case& c : cases)
        EXPECT_EQ(FetchWaitIsOver(c.requests, c.sinceLast, c.sinceKeys), c.over)
            << c.requests << " requests, " << c.sinceKeys.count() << " ns since the keys";
}

} // namespace
