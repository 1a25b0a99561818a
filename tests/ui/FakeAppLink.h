// Records what the dialogs ask of the program, in order.
#pragma once

#include "ui/AppLink.h"

#include <functional>
#include <string>
#include <vector>

namespace ombrix::test {

class FakeAppLink final : public ui::AppLink {
public:
    std::vector<std::string> calls;
    std::function<void()> onRegenerate;

    void SetOnTop(bool flag) override { calls.push_back(flag ? "SetOnTop(true)" : "SetOnTop(false)"); }
    void RegenerateOutput() override
    {
        calls.push_back("RegenerateOutput");
        if (onRegenerate)
            onRegenerate();
    }
    void SaveSettings() override { calls.push_back("SaveSettings"); }
};

} // namespace ombrix::test
