#include "ui/frmSetColor.h"

#include "engine/DefaultSettings.h"
#include "ui/layer/Twips.h"

#include <limits>
#include <stdexcept>

namespace ombrix::ui {
namespace {

constexpr int kClientWidth = 3975;
constexpr int kClientHeight = 8310;

} // namespace

frmSetColor::frmSetColor(AppLink& app)
    : FixedDialog(QStringLiteral("Set Color"), kClientWidth, kClientHeight, layer::kDialogBorders), app_(app)
{
    setObjectName(QStringLiteral("frmSetColor"));
    fraTop = layer::Designed(new layer::Frame(QStringLiteral("Select &Number Of Colors"), this),
                             QStringLiteral("fraTop"), QString(), {120, 120, 3735, 855});

    sldSetColNum = layer::Designed(new layer::Slider(1, modOmbrix::kSlotCount, fraTop), QStringLiteral("sldSetColNum"),
                                   QStringLiteral("Change the Number of Fade Colors"), {120, 225, 2535, 495});
    sldSetColNum->SetValue(modOmbrix::kDefaultColourCount);
    sldSetColNum->OnScroll([this] { sldSetColNum_Scroll(); });

    cmdOK = layer::Designed(new layer::CommandButton(QStringLiteral("&OK"), fraTop), QStringLiteral("cmdOK"),
                            QStringLiteral("Save Color Settings"), {2760, 300, 855, 375});
    cmdOK->setDefault(true);
    cmdOK->OnClick([this] { cmdOK_Click(); });

    for (int i = 0; i < modOmbrix::kSlotCount; ++i)
        BuildColourFrame(i);

    QWidget* previous = cmdOK;
    setTabOrder(sldSetColNum, cmdOK);
    for (int i = 0; i < modOmbrix::kSlotCount; ++i)
        for (QWidget* bar :
             {static_cast<QWidget*>(hsbRed[i]), static_cast<QWidget*>(hsbGrn[i]), static_cast<QWidget*>(hsbBlu[i])}) {
            setTabOrder(previous, bar);
            previous = bar;
        }
}

void frmSetColor::BuildColourFrame(int i)
{
    const auto slot = static_cast<std::size_t>(i);
    const ColourFrame& built = colourFrames_.at(slot).emplace(i, *this);
    fraColor[slot] = built.frame;
    lblRed[slot] = built.rows[0].name;
    lblGrn[slot] = built.rows[1].name;
    lblBlu[slot] = built.rows[2].name;
    hsbRed[slot] = built.rows[0].bar;
    hsbGrn[slot] = built.rows[1].bar;
    hsbBlu[slot] = built.rows[2].bar;
    lblShowRed[slot] = built.rows[0].level;
    lblShowGrn[slot] = built.rows[1].level;
    lblShowBlu[slot] = built.rows[2].level;
    lblColor[slot] = built.swatch;
    hsbRed[slot]->OnScroll([this, i] { hsbRed_Scroll(i); });
    hsbGrn[slot]->OnScroll([this, i] { hsbGrn_Scroll(i); });
    hsbBlu[slot]->OnScroll([this, i] { hsbBlu_Scroll(i); });
    hsbRed[slot]->OnChange([this, i] { hsbRed_Change(i); });
    hsbGrn[slot]->OnChange([this, i] { hsbGrn_Change(i); });
    hsbBlu[slot]->OnChange([this, i] { hsbBlu_Change(i); });
}

layer::HScrollBar& frmSetColor::Bar(int slot, modOmbrix::Channel channel) const
{
    const auto& bars = channel == modOmbrix::Channel::Red     ? hsbRed
                       : channel == modOmbrix::Channel::Green ? hsbGrn
                                                              : hsbBlu;
    return *bars.at(static_cast<std::size_t>(slot));
}

std::int16_t frmSetColor::Level(int slot, modOmbrix::Channel channel) const { return Bar(slot, channel).Value(); }

void frmSetColor::UpdateColor(int index) { colourFrames_.at(static_cast<std::size_t>(index))->Refresh(); }

void frmSetColor::sldSetColNum_Scroll()
{
    const std::int64_t height = std::int64_t{sldSetColNum->value()} * 1200 + 1455;
    if (height > std::numeric_limits<std::int32_t>::max())
        throw std::overflow_error("dialog height overflows");
    Geometry().SetHeight(static_cast<float>(height));
    for (int i = 0; i < modOmbrix::kSlotCount; ++i)
        fraColor[static_cast<std::size_t>(i)]->setEnabled(i < sldSetColNum->value());
}

void frmSetColor::cmdOK_Click()
{
    app_.SetOnTop(true);
    app_.RegenerateOutput();
    hide();
}

} // namespace ombrix::ui
