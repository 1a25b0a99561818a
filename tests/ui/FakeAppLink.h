// Records what the dialogs ask of the program, in order.
#pragma once

#include "settings/Settings.h"
#include "ui/AppLink.h"

#include <functional>
#include <string>
#include <vector>

namespace ombrix::test {

class FakeAppLink final : public ui::AppLink {
public:
    std::vector<std::string> calls;
    std::function<void()> onRegenerate;
    bool failSave = false;

    void SetOnTop(bool flag) override { calls.push_back(flag ? "SetOnTop(true)" : "SetOnTop(false)"); }
    void RegenerateOutput() override
    {
        calls.push_back("RegenerateOutput");
        if (onRegenerate)
            onRegenerate();
    }
    void SaveSettings() override
    {
        calls.push_back("SaveSettings");
        if (failSave)
            throw modOmbrix::SettingsFileError("cannot write /nowhere/kestovombrix.ini: Permission denied");
    }
};

} // namespace ombrix::test
