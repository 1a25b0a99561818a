// The settings file's view of the controls that hold the settings, spread over the
// colour dialog, the options dialog and the main window.
#pragma once

#include "settings/SettingsControls.h"

namespace ombrix::ui {
class frmSetColor;
class frmOptions;
class frmOmbrix;
} // namespace ombrix::ui

namespace ombrix::app {

class ControlsBinding final : public modOmbrix::SettingsControls {
public:
    ControlsBinding(ui::frmSetColor& colours, ui::frmOptions& options, ui::frmOmbrix& main)
        : colours_(colours), options_(options), main_(main)
    {
    }

    bool IsSendOptionSelected(int index) const override;
    void SelectSendOption(int index) override;
    std::int32_t ColourCount() const override;
    void SetColourCount(std::int32_t count) override;
    void ApplyColourCount() override;
    std::int16_t Level(int slot, modOmbrix::Channel channel) const override;
    void SetLevel(int slot, modOmbrix::Channel channel, std::int16_t level) override;
    std::u16string InOutCaption() const override;
    void PressInOut() override;
    std::int16_t CheckValue(modOmbrix::CheckBox box) const override;
    void SetCheckValue(modOmbrix::CheckBox box, std::int16_t value) override;

private:
    ui::frmSetColor& colours_;
    ui::frmOptions& options_;
    ui::frmOmbrix& main_;
};

} // namespace ombrix::app
