// The colour settings dialog: the number of colours and six colours of three channel
// levels, with live previews. Its controls are the colour table itself.
#pragma once

#include "engine/ColourTable.h"
#include "ui/AppLink.h"
#include "ui/ColourFrame.h"
#include "ui/layer/Controls.h"
#include "ui/layer/FixedDialog.h"

#include <array>
#include <optional>

namespace ombrix::ui {

class frmSetColor final : public layer::FixedDialog, public modOmbrix::ColourTable {
public:
    explicit frmSetColor(AppLink& app);

    // Refreshes the number boxes and the swatch of slot index from its scroll bars.
    void UpdateColor(int index);
    // Applies the slider's value: the window's height and which frames are enabled.
    void sldSetColNum_Scroll();

    std::int32_t ColourCount() const override { return sldSetColNum->value(); }
    std::int16_t Level(int slot, modOmbrix::Channel channel) const override;
    layer::HScrollBar& Bar(int slot, modOmbrix::Channel channel) const;

    template <typename T>
    using Slots = std::array<T*, modOmbrix::kSlotCount>;

    layer::Frame* fraTop = nullptr;
    layer::Slider* sldSetColNum = nullptr;
    layer::CommandButton* cmdOK = nullptr;
    Slots<layer::Frame> fraColor{};
    Slots<layer::Label> lblRed{}, lblGrn{}, lblBlu{};
    Slots<layer::HScrollBar> hsbRed{}, hsbGrn{}, hsbBlu{};
    Slots<layer::Label> lblShowRed{}, lblShowGrn{}, lblShowBlu{};
    Slots<layer::Label> lblColor{};

private:
    void BuildColourFrame(int index);
    void hsbRed_Scroll(int index) { UpdateColor(index); }
    void hsbGrn_Scroll(int index) { UpdateColor(index); }
    void hsbBlu_Scroll(int index) { UpdateColor(index); }
    void hsbRed_Change(int index) { UpdateColor(index); }
    void hsbGrn_Change(int index) { UpdateColor(index); }
    void hsbBlu_Change(int index) { UpdateColor(index); }
    void cmdOK_Click();

    AppLink& app_;
    std::array<std::optional<ColourFrame>, modOmbrix::kSlotCount> colourFrames_;
};

} // namespace ombrix::ui
