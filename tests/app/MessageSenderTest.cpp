#include "app/DeliveryTiming.h"
#include "app/MessageSender.h"
#include "tests/ui/FakeSendKeys.h"
#include "tests/app/RecordingPlatform.h"
#include "tests/ui/WarningCapture.h"

#include <gtest/gtest.h>

using namespace ombrix;
using namespace ombrix::app;
using Steps = std::vector<std::string>;

namespace {

// Into a window that cannot be seen: the fetch of the paste is all there is to go by.
const Steps kPasteSteps = {"clear",   "set",   "follow", "hide", "wait",  "route",          "see", "ctrl+v",
                           "fetched", "space", "alt+s",  "wait", "clear", "stop following", "show"};
// Nothing fetched the paste: no Space or Alt+S, and the HTML stays for pasting by hand.
const Steps kNotTakenSteps = {"clear", "set",    "follow",  "hide",           "wait", "route",
                              "see",   "ctrl+v", "fetched", "stop following", "show"};
// No route reaches the previous window: not a key is pressed.
const Steps kUnreachableSteps = {"clear", "set", "follow", "hide", "wait", "route", "stop following", "show"};

struct SenderTest : ::testing::Test {
    RecordingPlatform platform;
    test::FakeSendKeys sendKeys;
    MessageSender sender{platform, sendKeys};
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
    const SendOutcome outcome = sender.Send(c.mode, {"<FONT COLOR=FF0000>a</FONT> ", "a "});
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
    for (const std::string step : {"wait", "route", "see", "ctrl+v", "fetched", "space", "alt+s"}) {
        RecordingPlatform failing;
        failing.failAt = step;
        MessageSender s(failing, sendKeys);
        EXPECT_THROW(s.Send(0, {"x", "x"}), std::runtime_error) << step;
        EXPECT_TRUE(failing.windowVisible) << step;
        EXPECT_EQ(failing.steps.back(), "show") << step;
        // The failed send does not block the next one.
        failing.failAt.clear();
        failing.steps.clear();
        EXPECT_EQ(s.Send(0, {"x", "x"}), SendOutcome::Pasted) << step;
    }
}

TEST_F(SenderTest, ASecondSendDuringTheWaitsIsRefused)
{
    std::optional<SendOutcome> nested;
    platform.duringWait = [&] { nested = sender.Send(1, {"second", "second"}); };
    EXPECT_EQ(sender.Send(0, {"first", "first"}), SendOutcome::Pasted);
    EXPECT_EQ(nested, SendOutcome::Busy);
    EXPECT_EQ(platform.steps, kPasteSteps);
}

// A window that shows its focused field on the accessibility bus: each step is checked
// there, and only a field seen to take the message counts as sent.
struct SeenCase {
    const char* name;
    bool editable;
    QString fieldBefore;
    ui::SendKey key;
    bool fieldTakesPaste;
    AfterSendKey afterKey;
    SendOutcome outcome;
    Steps keysAndChecks; // from "see" to "stop following"
    bool clipboardKeepsHtml;
    int boxes;
};

void PrintTo(const SeenCase& c, std::ostream* os) { *os << c.name; }

class SeenCases : public SenderTest, public ::testing::WithParamInterface<SeenCase> {};

TEST_P(SeenCases, StepsOutcomeAndWhatTheUserIsTold)
{
    const SeenCase& c = GetParam();
    const QString html = "<FONT COLOR=FF0000>h</FONT><FONT COLOR=00FF00>i</FONT>";
    platform.target = TargetField{{1, "hexchat", c.editable ? "text" : "tree table", c.editable, false}, c.fieldBefore};
    platform.fieldTakesPaste = c.fieldTakesPaste;
    platform.afterKey = c.afterKey;
    sendKeys.keys["hexchat"] = c.key;
    EXPECT_EQ(sender.Send(0, {html, "hi"}), c.outcome);
    Steps expected = {"clear", "set", "follow", "hide", "wait", "route"};
    expected.insert(expected.end(), c.keysAndChecks.begin(), c.keysAndChecks.end());
    expected.insert(expected.end(), {"stop following", "show"});
    EXPECT_EQ(platform.steps, expected);
    EXPECT_EQ(platform.clipboard, c.clipboardKeepsHtml ? html : QString());
    ASSERT_EQ(warnings.size(), static_cast<std::size_t>(c.boxes));
    if (c.boxes > 0) {
        EXPECT_TRUE(warnings[0].contains("hexchat")) << warnings[0].toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Paste, SeenCases,
    ::testing::Values(SeenCase{"SentOnlyWhenTheFieldLetsGoOfIt",
                               true,
                               "",
                               ui::SendKey::AltS,
                               true,
                               AfterSendKey::Sent,
                               SendOutcome::Sent,
                               {"see", "ctrl+v", "field holds", "space", "alt+s", "after key", "clear"},
                               false,
                               0},
                      SeenCase{"TheProgramsOwnSendKey",
                               true,
                               "",
                               ui::SendKey::Enter,
                               true,
                               AfterSendKey::Sent,
                               SendOutcome::Sent,
                               {"see", "ctrl+v", "field holds", "space", "enter", "after key", "clear"},
                               false,
                               0},
                      SeenCase{"NoTextFieldGetsNoKeyAtAll",
                               false,
                               "",
                               ui::SendKey::AltS,
                               true,
                               AfterSendKey::Sent,
                               SendOutcome::NoTextField,
                               {"see"},
                               true,
                               1},
                      SeenCase{"NothingMoreUntilThePasteShows",
                               true,
                               "",
                               ui::SendKey::AltS,
                               false,
                               AfterSendKey::Sent,
                               SendOutcome::PasteNotTaken,
                               {"see", "ctrl+v", "field holds"},
                               true,
                               1},
                      SeenCase{"AKeyThatDidNotSendKeepsTheMessage",
                               true,
                               "",
                               ui::SendKey::AltS,
                               true,
                               AfterSendKey::StillThere,
                               SendOutcome::NotSent,
                               {"see", "ctrl+v", "field holds", "space", "alt+s", "after key"},
                               true,
                               1},
                      SeenCase{"AKeyThatOpenedAMenuKeepsTheMessage",
                               true,
                               "",
                               ui::SendKey::AltS,
                               true,
                               AfterSendKey::Misfired,
                               SendOutcome::NotSent,
                               {"see", "ctrl+v", "field holds", "space", "alt+s", "after key"},
                               true,
                               1},
                      // Send again after a key that did not send: the message is in the field already.
                      SeenCase{"AMessageAlreadyThereIsNotPastedTwice",
                               true,
                               "<FONT COLOR=FF0000>h</FONT><FONT COLOR=00FF00>i</FONT> ",
                               ui::SendKey::Enter,
                               true,
                               AfterSendKey::Sent,
                               SendOutcome::Sent,
                               {"see", "enter", "after key", "clear"},
                               false,
                               0},
                      SeenCase{"ARichFieldHoldsTheTextItShows",
                               true,
                               "h i",
                               ui::SendKey::Enter,
                               true,
                               AfterSendKey::Sent,
                               SendOutcome::Sent,
                               {"see", "enter", "after key", "clear"},
                               false,
                               0},
                      SeenCase{"PasteOnlyStopsAfterThePaste",
                               true,
                               "",
                               ui::SendKey::None,
                               true,
                               AfterSendKey::Sent,
                               SendOutcome::PastedOnly,
                               {"see", "ctrl+v", "field holds", "wait", "clear"},
                               false,
                               0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SenderTest, AKeyThatDidNotSendOffersTheNextOneForThatProgram)
{
    platform.target = TargetField{{1, "hexchat", "text", true, false}, ""};
    platform.afterKey = AfterSendKey::Misfired;
    layer::MessageBox::SetAnswer(true);
    EXPECT_EQ(sender.Send(0, {"<b>x", "x"}), SendOutcome::NotSent);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_TRUE(warnings[0].startsWith("Pasted, not sent: hexchat did not send the message on Alt+S"));
    EXPECT_TRUE(warnings[0].contains("Send with Enter in hexchat from now on?"));
    EXPECT_EQ(sendKeys.For("hexchat"), ui::SendKey::Enter);

    // Answered No, the choice stays.
    layer::MessageBox::SetAnswer(false);
    EXPECT_EQ(sender.Send(0, {"<b>x", "x"}), SendOutcome::NotSent);
    EXPECT_EQ(sendKeys.For("hexchat"), ui::SendKey::Enter);
}

TEST(MessageHandedOver, OnlyAMessageThatWentSomewhereEmptiesTheBox)
{
    EXPECT_TRUE(MessageHandedOver(SendOutcome::Sent));
    EXPECT_TRUE(MessageHandedOver(SendOutcome::PastedOnly));
    EXPECT_FALSE(MessageHandedOver(SendOutcome::NotSent));
    EXPECT_FALSE(MessageHandedOver(SendOutcome::NoTextField));
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

TEST(MessageMatch, AFieldHoldsTheHtmlOrTheTextItShowsWhateverItsWhiteSpace)
{
    const OutgoingMessage message{"<FONT COLOR=FF0000>a b</FONT><BR>c", "a b\r\nc"};
    struct Case {
        QString field;
        bool holds;
    } cases[] = {
        {"<FONT COLOR=FF0000>a b</FONT><BR>c", true},
        {"<FONT COLOR=FF0000>a b</FONT><BR>c ", true}, // with the Space that follows the paste
        {"before <FONT COLOR=FF0000>a b</FONT><BR>c", true},
        {"a b\nc", true}, // a rich field shows the text
        {"a  b c", true},
        {"<FONT COLOR=FF0000>a b</FONT>", false}, // only part of it
        {"", false},
        {"a b", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FieldHolds(c.field, message), c.holds) << c.field.toStdString();
    // White space alone cannot be told from other text: any text counts.
    const OutgoingMessage blank{"  ", "  "};
    EXPECT_FALSE(Recognisable(blank));
    EXPECT_TRUE(Recognisable(message));
    EXPECT_TRUE(FieldHolds(" ", blank));
    EXPECT_FALSE(FieldHolds("", blank));
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
