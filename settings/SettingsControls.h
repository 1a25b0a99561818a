// The controls that hold the settings, as the settings file sees them. There is no
// settings record anywhere else: saving reads these, loading assigns them.
#pragma once

#include "engine/ColourTable.h"

#include <cstdint>
#include <string>

namespace modOmbrix {

enum class CheckBox : int { FontTags = 0, FinalFontTag = 1, OnTop = 2 };

// Assignments behave as the real controls do: they run the matching handler
// synchronously (a changed level refreshes its preview, FontTags sets whether
// FinalFontTag is enabled), and a value the control rejects throws
// std::out_of_range, which is what the loader's recovery reacts to.
class SettingsControls {
public:
    virtual ~SettingsControls() = default;

    // optSend2(index), index 0 or 1.
    virtual bool IsSendOptionSelected(int index) const = 0;
    // Selects optSend2(index) and clears the other; throws for an index other than 0 or 1.
    virtual void SelectSendOption(int index) = 0;

    // sldSetColNum: setting it raises no notification; throws outside 1..6.
    virtual std::int32_t ColourCount() const = 0;
    virtual void SetColourCount(std::int32_t count) = 0;
    // frmSetColor.sldSetColNum_Scroll: applies the slider value to the colour dialog.
    virtual void ApplyColourCount() = 0;

    // hsbRed/hsbGrn/hsbBlu(slot); throws outside 0..16. A change runs the preview refresh.
    virtual std::int16_t Level(int slot, Channel channel) const = 0;
    virtual void SetLevel(int slot, Channel channel, std::int16_t level) = 0;

    // The caption of the main window's cmdInOut ("3" expanded, "4" collapsed).
    virtual std::u16string InOutCaption() const = 0;
    // cmdInOut_Click: toggles the settings pane.
    virtual void PressInOut() = 0;

    // chkFontTags, chkFinalFontTag, chkOnTop: values 0..2, throws otherwise.
    virtual std::int16_t CheckValue(CheckBox box) const = 0;
    virtual void SetCheckValue(CheckBox box, std::int16_t value) = 0;
};

} // namespace modOmbrix
