// A desktop that only writes down what Send asked of it, in order.
#pragma once

#include "app/DeliveryPlatform.h"

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace ombrix::app {

class RecordingPlatform final : public DeliveryPlatform {
public:
    std::vector<std::string> steps;
    bool keys = true;
    bool reachable = true; // a key route reaches the previous window
    bool fetched = true;   // the previous window fetches the paste
    bool clipboardTakesText = true;
    QString clipboard;
    bool clipboardRich = false; // offered as text/html too
    bool windowVisible = true;
    // What the accessibility bus shows of the previous window; none: it cannot be seen.
    std::optional<TargetField> target;
    bool fieldTakesPaste = true;
    AfterSendKey afterKey = AfterSendKey::Sent;
    std::string failAt;               // the step that throws, if any
    std::function<void()> duringWait; // runs inside the first wait

    bool CanInjectKeys() override { return keys; }
    void ClearClipboard() override
    {
        Step("clear");
        clipboard.clear();
    }
    bool SetClipboardText(const QString& text, bool rich) override
    {
        Step("set");
        clipboardRich = rich;
        if (clipboardTakesText)
            clipboard = text;
        return clipboardTakesText;
    }
    void HideMainWindow() override
    {
        Step("hide");
        windowVisible = false;
    }
    void ShowMainWindow() override
    {
        Step("show");
        windowVisible = true;
    }
    void WaitTenth() override
    {
        Step("wait");
        if (duringWait)
            std::exchange(duringWait, nullptr)();
    }
    bool ChooseKeyRoute() override
    {
        Step("route");
        return reachable;
    }
    void PressPaste() override { Step("ctrl+v"); }
    bool WaitForPasteFetched() override
    {
        Step("fetched");
        return fetched;
    }
    void Press(Keystroke key) override
    {
        static const char* const names[] = {"space", "alt+s", "enter", "ctrl+enter", "escape"};
        Step(names[static_cast<int>(key)]);
    }
    void FollowTarget() override { Step("follow"); }
    void StopFollowingTarget() override { Step("stop following"); }
    std::optional<TargetField> SeeTarget() override
    {
        Step("see");
        return target;
    }
    bool WaitUntilFieldHolds(const OutgoingMessage&) override
    {
        Step("field holds");
        return fieldTakesPaste;
    }
    AfterSendKey WaitAfterSendKey(const OutgoingMessage&) override
    {
        Step("after key");
        return afterKey;
    }

private:
    void Step(const std::string& name)
    {
        steps.push_back(name);
        if (name == failAt)
            throw std::runtime_error("lost the X server at " + name);
    }
};

} // namespace ombrix::app
