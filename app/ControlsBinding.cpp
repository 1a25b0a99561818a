#include "app/ControlsBinding.h"

#include "ui/frmOmbrix.h"
#include "ui/frmOptions.h"
#include "ui/frmSetColor.h"

#include <stdexcept>

namespace ombrix::app {
namespace {

layer::CheckBox& Box(ui::frmOptions& options, modOmbrix::CheckBox box)
{
    switch (box) {
    case modOmbrix::CheckBox::FontTags: return *options.chkFontTags;
    case modOmbrix::CheckBox::FinalFontTag: return *options.chkFinalFontTag;
    case modOmbrix::CheckBox::OnTop: return *options.chkOnTop;
    }
    throw std::out_of_range("no such check box");
}

} // namespace

bool ControlsBinding::IsSendOptionSelected(int index) const { return options_.optSend2.Value(index); }
void ControlsBinding::SelectSendOption(int index) { options_.optSend2.Select(index); }
std::int32_t ControlsBinding::ColourCount() const { return colours_.sldSetColNum->value(); }
void ControlsBinding::SetColourCount(std::int32_t count) { colours_.sldSetColNum->SetValue(count); }
void ControlsBinding::ApplyColourCount() { colours_.sldSetColNum_Scroll(); }

std::int16_t ControlsBinding::Level(int slot, modOmbrix::Channel channel) const
{
    return colours_.Level(slot, channel);
}

void ControlsBinding::SetLevel(int slot, modOmbrix::Channel channel, std::int16_t level)
{
    colours_.Bar(slot, channel).SetValue(level);
}

std::u16string ControlsBinding::InOutCaption() const { return main_.cmdInOut->text().toStdU16String(); }
void ControlsBinding::PressInOut() { main_.cmdInOut->click(); }

std::int16_t ControlsBinding::CheckValue(modOmbrix::CheckBox box) const { return Box(options_, box).Value(); }

void ControlsBinding::SetCheckValue(modOmbrix::CheckBox box, std::int16_t value) { Box(options_, box).SetValue(value); }

} // namespace ombrix::app
