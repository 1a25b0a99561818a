// The desktop's choice of key route at each Send, with stand-in routes and fetch watch on
// the offscreen platform.
#include "app/DesktopPlatform.h"
#include "app/MessageSender.h"
#include "tests/ui/FakeSendKeys.h"
#include "tests/ui/WarningCapture.h"

#include <QWidget>

#include <functional>
#include <map>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ombrix;
using namespace ombrix::app;

namespace {

using Log = std::vector<std::string>;

class StandInRoute final : public KeyRoute {
public:
    StandInRoute(std::string name, bool reaches, Log& log) : name_(std::move(name)), reaches_(reaches), log_(log) {}
    // What the target does with each key.
    std::function<void(Keystroke)> onKey;
    std::function<void()> onPaste;
    bool ReachesPreviousWindow() override
    {
        log_.push_back(name_ + " asked");
        return reaches_;
    }
    void PressPaste() override
    {
        log_.push_back(name_ + " ctrl+v");
        if (onPaste)
            onPaste();
    }
    void Press(Keystroke key) override
    {
        static const char* const names[] = {"space", "alt+s", "enter", "ctrl+enter", "escape"};
        log_.push_back(name_ + " " + names[static_cast<int>(key)]);
        if (onKey)
            onKey(key);
    }

private:
    std::string name_;
    bool reaches_;
    Log& log_;
};

// A target that fetches the paste the moment the keys go out, or never.
class StandInWatch final : public PasteFetchWatch {
public:
    explicit StandInWatch(bool fetches) : fetches_(fetches) {}
    void Start() override {}
    int DataRequests() const override { return fetches_ ? 1 : 0; }
    std::chrono::nanoseconds SinceLastRequest() const override
    {
        return fetches_ ? std::chrono::seconds(1) : std::chrono::nanoseconds::max();
    }

private:
    bool fetches_;
};

// The previous window as the accessibility bus would show it: a text field that takes the
// focus back when ours hides, and whatever the test makes of the keys.
class StandInView final : public TargetView {
public:
    std::optional<FocusedObject> takesFocus = FocusedObject{1, "chat", "text", true, false};
    std::map<std::uint64_t, QString> texts{{1, QString()}};
    std::optional<FocusedObject> focus;
    int windows = 0;
    int changes = 0;

    void Follow() override { focus = takesFocus; }
    void StopFollowing() override { focus.reset(); }
    std::optional<FocusedObject> Focus() const override { return focus; }
    std::optional<QString> TextOf(std::uint64_t id) override
    {
        const auto it = texts.find(id);
        return it == texts.end() ? std::nullopt : std::optional<QString>(it->second);
    }
    int WindowsOpened() const override { return windows; }
    int TextChanges() const override { return changes; }

    void SetText(std::uint64_t id, const QString& text)
    {
        texts[id] = text;
        ++changes;
    }
    void MoveFocus(std::uint64_t id, const char* program, const char* role, bool inMenu)
    {
        focus = FocusedObject{id, program, role, false, inMenu};
    }
};

struct Routes {
    std::vector<bool> routesReach;
    bool watch = true;
    bool fetches = true;
};

struct DesktopTest : ::testing::Test {
    QWidget window;
    Log log;
    test::FakeSendKeys sendKeys;
    test::WarningCapture warningBoxes;
    std::vector<QString>& warnings = warningBoxes.texts;

    DesktopTest() { window.show(); }

    StandInView* view = nullptr; // owned by the platform Make made last, when it has one
    StandInRoute* route = nullptr;

    DesktopPlatform Make(const Routes& setup, bool seen = false)
    {
        DeliveryRoutes routes;
        if (seen) {
            auto target = std::make_unique<StandInView>();
            view = target.get();
            routes.target = std::move(target);
        }
        for (std::size_t i = 0; i < setup.routesReach.size(); ++i)
            routes.keys.push_back(
                std::make_unique<StandInRoute>("route" + std::to_string(i + 1), setup.routesReach[i], log));
        if (setup.watch)
            routes.fetch = std::make_unique<StandInWatch>(setup.fetches);
        if (!routes.keys.empty())
            route = static_cast<StandInRoute*>(routes.keys.back().get());
        return DesktopPlatform(window, std::move(routes));
    }
};

TEST_F(DesktopTest, TheFirstRouteThatReachesThePreviousWindowPressesAllKeys)
{
    DesktopPlatform desktop = Make({{false, true, true}});
    MessageSender sender(desktop, sendKeys);
    EXPECT_EQ(sender.Send(0, {"<B>x", "<B>x"}), SendOutcome::Pasted);
    EXPECT_EQ(log, (Log{"route1 asked", "route2 asked", "route2 ctrl+v", "route2 space", "route2 alt+s"}));
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(warnings.empty());
}

TEST_F(DesktopTest, NoRouteReachingMeansNoKeyAtAll)
{
    DesktopPlatform desktop = Make({{false, false}});
    MessageSender sender(desktop, sendKeys);
    EXPECT_EQ(sender.Send(0, {"<B>x", "<B>x"}), SendOutcome::Unreachable);
    EXPECT_EQ(log, (Log{"route1 asked", "route2 asked"}));
    // The keys that follow a failed choice must not find a route left over from it.
    desktop.PressPaste();
    desktop.Press(Keystroke::Space);
    EXPECT_EQ(log.size(), 2u);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(warnings.size(), 1u);
}

TEST_F(DesktopTest, WithoutRoutesOrAFetchWatchSendOnlyCopies)
{
    for (const Routes& setup : {Routes{{}, true}, Routes{{true}, false}}) {
        DesktopPlatform desktop = Make(setup);
        EXPECT_FALSE(desktop.CanInjectKeys());
        EXPECT_FALSE(desktop.ChooseKeyRoute());
        MessageSender sender(desktop, sendKeys);
        EXPECT_EQ(sender.Send(0, {"<B>x", "<B>x"}), SendOutcome::LeftOnClipboard);
    }
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(window.isVisible());
}

TEST_F(DesktopTest, APasteNobodyFetchesEndsBeforeSpaceAndAltS)
{
    DesktopPlatform desktop = Make({{true}, true, false});
    MessageSender sender(desktop, sendKeys);
    EXPECT_EQ(sender.Send(0, {"<B>kept", "<B>kept"}), SendOutcome::PasteNotTaken); // waits out the fetch limit
    EXPECT_EQ(log, (Log{"route1 asked", "route1 ctrl+v"}));
    EXPECT_TRUE(window.isVisible());
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_TRUE(warnings[0].contains("did not take the paste"));
}

// A message "hi" in a field that the target shows on the bus.
const OutgoingMessage kHi{"<FONT COLOR=FF0000>h<FONT COLOR=00FF00>i", "hi"};

TEST_F(DesktopTest, AFieldThatLetsGoOfTheMessageIsSent)
{
    DesktopPlatform desktop = Make({{true}}, true);
    route->onPaste = [&] { view->SetText(1, kHi.html); };
    route->onKey = [&](Keystroke key) {
        if (key == Keystroke::AltS)
            view->SetText(1, QString());
    };
    MessageSender sender(desktop, sendKeys);
    EXPECT_EQ(sender.Send(0, kHi), SendOutcome::Sent);
    EXPECT_EQ(log, (Log{"route1 asked", "route1 ctrl+v", "route1 space", "route1 alt+s"}));
    EXPECT_TRUE(warnings.empty());
}

TEST_F(DesktopTest, AMenuTheSendKeyOpenedIsClosedAndTheMessageKept)
{
    DesktopPlatform desktop = Make({{true}}, true);
    route->onPaste = [&] { view->SetText(1, kHi.html); };
    route->onKey = [&](Keystroke key) {
        if (key == Keystroke::AltS) {
            view->MoveFocus(2, "chat", "menu", true);
            view->MoveFocus(3, "chat", "menu item", true);
        } else if (key == Keystroke::Escape) {
            view->focus = view->takesFocus; // the menu closed: back in the field
        }
    };
    MessageSender sender(desktop, sendKeys);
    EXPECT_EQ(sender.Send(0, kHi), SendOutcome::NotSent);
    EXPECT_EQ(log, (Log{"route1 asked", "route1 ctrl+v", "route1 space", "route1 alt+s", "route1 escape"}));
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_TRUE(warnings[0].contains("chat did not send the message on Alt+S"));
}

TEST_F(DesktopTest, EscapeGoesOnlyWhereTheSendKeyOpenedSomething)
{
    struct Case {
        const char* name;
        const char* program;
        const char* role;
        bool inMenu;
        bool newWindow;
        int escapes;
    } cases[] = {
        {"a chooser window the key opened", "chat", "push button", false, true, 1},
        {"a button of a window that was there", "chat", "push button", false, false, 0},
        {"another program's menu", "other", "menu", true, false, 0},
    };
    for (const Case& c : cases) {
        log.clear();
        warnings.clear();
        DesktopPlatform desktop = Make({{true}}, true);
        route->onPaste = [&] { view->SetText(1, kHi.html); };
        route->onKey = [&](Keystroke key) {
            if (key == Keystroke::AltS) {
                view->windows += c.newWindow ? 1 : 0;
                view->MoveFocus(2, c.program, c.role, c.inMenu);
            } else if (key == Keystroke::Escape) {
                view->focus = view->takesFocus;
            }
        };
        MessageSender sender(desktop, sendKeys);
        EXPECT_EQ(sender.Send(0, kHi), SendOutcome::NotSent) << c.name;
        EXPECT_EQ(std::count(log.begin(), log.end(), "route1 escape"), c.escapes) << c.name;
    }
}

TEST_F(DesktopTest, NoKeyIntoAProgramWhoseFocusIsNoTextField)
{
    DesktopPlatform desktop = Make({{true}}, true);
    view->takesFocus = FocusedObject{5, "chat", "tree table", false, false};
    MessageSender sender(desktop, sendKeys);
    EXPECT_EQ(sender.Send(0, kHi), SendOutcome::NoTextField);
    EXPECT_EQ(log, (Log{"route1 asked"}));
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_TRUE(warnings[0].contains("chat had no text field in focus (the focus was on a tree table)"));
}

TEST_F(DesktopTest, APasteTheFieldNeverShowsStopsThere)
{
    DesktopPlatform desktop = Make({{true}, true, false}, true); // nothing fetched either
    MessageSender sender(desktop, sendKeys);
    EXPECT_EQ(sender.Send(0, kHi), SendOutcome::PasteNotTaken);
    EXPECT_EQ(log, (Log{"route1 asked", "route1 ctrl+v"}));
}

TEST_F(DesktopTest, ATargetThatShowsNoFocusGoesByTheFetch)
{
    DesktopPlatform desktop = Make({{true}}, true);
    view->takesFocus.reset(); // not on the bus
    MessageSender sender(desktop, sendKeys);
    EXPECT_EQ(sender.Send(0, kHi), SendOutcome::Pasted);
    EXPECT_EQ(log, (Log{"route1 asked", "route1 ctrl+v", "route1 space", "route1 alt+s"}));
}

} // namespace
