// The desktop's choice of key route at each Send, with stand-in routes and fetch watch on
// the offscreen platform.
#include "app/DesktopPlatform.h"
#include "app/MessageSender.h"
#include "tests/app/FakeSendKeys.h"
#include "tests/ui/WarningCapture.h"

#include <QWidget>

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
    bool ReachesPreviousWindow() override
    {
        log_.push_back(name_ + " asked");
        return reaches_;
    }
    void PressPaste() override { log_.push_back(name_ + " ctrl+v"); }
    void Press(Keystroke key) override
    {
        static const char* const names[] = {"space", "alt+s", "enter", "ctrl+enter", "escape"};
        log_.push_back(name_ + " " + names[static_cast<int>(key)]);
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

struct Routes {
    std::vector<bool> routesReach;
    bool watch = true;
    bool fetches = true;
};

struct DesktopTest : ::testing::Test {
    QWidget window;
    Log log;
    FakeSendKeys sendKeys;
    test::WarningCapture warningBoxes;
    std::vector<QString>& warnings = warningBoxes.texts;

    DesktopTest() { window.show(); }

    DesktopPlatform Make(const Routes& setup)
    {
        DeliveryRoutes routes;
        for (std::size_t i = 0; i < setup.routesReach.size(); ++i)
            routes.keys.push_back(
                std::make_unique<StandInRoute>("route" + std::to_string(i + 1), setup.routesReach[i], log));
        if (setup.watch)
            routes.fetch = std::make_unique<StandInWatch>(setup.fetches);
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

} // namespace
