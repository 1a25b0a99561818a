#include "ui/frmSetColor.h"

#include "engine/ColourMath.h"
#include "engine/DefaultSettings.h"
#include "ui/layer/Fonts.h"
#include "ui/layer/Twips.h"

#include <limits>
#include <stdexcept>

namespace ombrix::ui {
namespace {

constexpr int kClientWidth = 3975;
constexpr int kClientHeight = 8310;

layer::Label* PreviewLabel(QWidget* frame, const QString& name, const QString& tooltip, int top)
{
    auto* label = new layer::Label(QStringLiteral("0"), frame);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    label->SetSingleBorder();
    label->setFont(layer::DesignFont(QStringLiteral("MS Sans Serif"), 8.25, true));
    label->SetForeColor(Qt::white);
    label->SetBackColor(Qt::black);
    label->setToolTip(tooltip);
    layer::Place(*label, 2760, top, 480, 255);
    return label;
}

layer::Label* ChannelName(QWidget* frame, const QString& caption, int top, int width)
{
    auto* label = new layer::Label(caption, frame);
    layer::Place(*label, 120, top, width, 195);
    label->adjustSize(); // sized to its text
    return label;
}

} // namespace

frmSetColor::frmSetColor(AppLink& app)
    : FixedDialog(QStringLiteral("Set Color"), kClientWidth, kClientHeight, layer::kDialogBorders), app_(app)
{
    setObjectName(QStringLiteral("frmSetColor"));
    fraTop = new layer::Frame(QStringLiteral("Select &Number Of Colors"), this);
    fraTop->setObjectName(QStringLiteral("fraTop"));
    layer::Place(*fraTop, 120, 120, 3735, 855);

    sldSetColNum = new layer::Slider(1, modOmbrix::kSlotCount, fraTop);
    sldSetColNum->setObjectName(QStringLiteral("sldSetColNum"));
    sldSetColNum->SetValue(modOmbrix::kDefaultColourCount);
    sldSetColNum->setToolTip(QStringLiteral("Change the Number of Fade Colors"));
    layer::Place(*sldSetColNum, 120, 225, 2535, 495);
    sldSetColNum->OnScroll([this] { sldSetColNum_Scroll(); });

    cmdOK = new layer::CommandButton(QStringLiteral("&OK"), fraTop);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setToolTip(QStringLiteral("Save Color Settings"));
    cmdOK->setDefault(true);
    layer::Place(*cmdOK, 2760, 300, 855, 375);
    cmdOK->OnClick([this] { cmdOK_Click(); });

    for (int i = 0; i < modOmbrix::kSlotCount; ++i)
        BuildColourFrame(i);

    QWidget* previous = cmdOK;
    setTabOrder(sldSetColNum, cmdOK);
    for (int i = 0; i < modOmbrix::kSlotCount; ++i)
        for (QWidget* bar : {static_cast<QWidget*>(hsbRed[i]), static_cast<QWidget*>(hsbGrn[i]),
                             static_cast<QWidget*>(hsbBlu[i])}) {
            setTabOrder(previous, bar);
            previous = bar;
        }
}

void frmSetColor::BuildColourFrame(int i)
{
    const auto slot = static_cast<std::size_t>(i);
    auto* frame = new layer::Frame(QStringLiteral("Color &%1").arg(i + 1), this);
    frame->setObjectName(QStringLiteral("fraColor%1").arg(i));
    layer::Place(*frame, 120, 1080 + 1200 * i, 3735, 1095);
    fraColor[slot] = frame;

    lblRed[slot] = ChannelName(frame, QStringLiteral("Red:"), 240, 345);
    lblGrn[slot] = ChannelName(frame, QStringLiteral("Green:"), 480, 480);
    lblBlu[slot] = ChannelName(frame, QStringLiteral("Blue:"), 720, 360);

    const auto& levels = modOmbrix::kDefaultLevels[slot];
    auto makeBar = [&](const char* name, int top, std::int16_t level) {
        auto* bar = new layer::HScrollBar(modOmbrix::kMinLevel, modOmbrix::kMaxLevel, frame);
        bar->setObjectName(QStringLiteral("%1%2").arg(QLatin1String(name)).arg(i));
        bar->setValue(level); // design value: the previews are refreshed by UpdateColor at start-up
        layer::Place(*bar, 720, top, 1935, 255);
        return bar;
    };
    hsbRed[slot] = makeBar("hsbRed", 240, levels[0]);
    hsbGrn[slot] = makeBar("hsbGrn", 480, levels[1]);
    hsbBlu[slot] = makeBar("hsbBlu", 720, levels[2]);
    hsbRed[slot]->OnScroll([this, i] { hsbRed_Scroll(i); });
    hsbGrn[slot]->OnScroll([this, i] { hsbGrn_Scroll(i); });
    hsbBlu[slot]->OnScroll([this, i] { hsbBlu_Scroll(i); });
    hsbRed[slot]->OnChange([this, i] { hsbRed_Change(i); });
    hsbGrn[slot]->OnChange([this, i] { hsbGrn_Change(i); });
    hsbBlu[slot]->OnChange([this, i] { hsbBlu_Change(i); });

    lblShowRed[slot] = PreviewLabel(frame, QStringLiteral("lblShowRed%1").arg(i), QStringLiteral("Amount of Red"), 240);
    lblShowGrn[slot] = PreviewLabel(frame, QStringLiteral("lblShowGrn%1").arg(i), QStringLiteral("Amount of Green"), 480);
    lblShowBlu[slot] = PreviewLabel(frame, QStringLiteral("lblShowBlu%1").arg(i), QStringLiteral("Amount of Blue"), 720);

    auto* swatch = new layer::Label(QString(), frame);
    swatch->setObjectName(QStringLiteral("lblColor%1").arg(i));
    swatch->SetSingleBorder();
    swatch->SetBackColor(Qt::black);
    swatch->setToolTip(QStringLiteral("Color Preview"));
    layer::Place(*swatch, 3360, 240, 255, 765);
    lblColor[slot] = swatch;
}

layer::HScrollBar& frmSetColor::Bar(int slot, modOmbrix::Channel channel) const
{
    const auto& bars = channel == modOmbrix::Channel::Red     ? hsbRed
                       : channel == modOmbrix::Channel::Green ? hsbGrn
                                                              : hsbBlu;
    return *bars.at(static_cast<std::size_t>(slot));
}

std::int16_t frmSetColor::Level(int slot, modOmbrix::Channel channel) const { return Bar(slot, channel).Value(); }

void frmSetColor::UpdateColor(int index)
{
    const auto slot = static_cast<std::size_t>(index);
    auto byteOf = [](const layer::HScrollBar* bar) { return modOmbrix::LevelToByte(bar->Value()); };
    lblShowRed.at(slot)->setText(QString::number(byteOf(hsbRed[slot])));
    lblShowGrn[slot]->setText(QString::number(byteOf(hsbGrn[slot])));
    lblShowBlu[slot]->setText(QString::number(byteOf(hsbBlu[slot])));
    lblShowRed[slot]->SetBackColor(QColor(byteOf(hsbRed[slot]), 0, 0));
    lblShowGrn[slot]->SetBackColor(QColor(0, byteOf(hsbGrn[slot]), 0));
    lblShowBlu[slot]->SetBackColor(QColor(0, 0, byteOf(hsbBlu[slot])));
    lblColor[slot]->SetBackColor(QColor(byteOf(hsbRed[slot]), byteOf(hsbGrn[slot]), byteOf(hsbBlu[slot])));
}

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
