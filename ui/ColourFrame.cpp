#include "ui/ColourFrame.h"

#include "engine/ColourTable.h"
#include "engine/DefaultSettings.h"
#include "ui/layer/Fonts.h"
#include "ui/layer/Twips.h"

namespace ombrix::ui {
namespace {

struct RowDesign {
    const char* name; // the bar's control-array name
    const char* caption;
    int captionWidth;
    const char* levelName; // the byte box's control-array name
    const char* levelTip;
    int top;
};

constexpr std::array<RowDesign, 3> kRows{{
    {"hsbRed", "Red:", 345, "lblShowRed", "Amount of Red", 240},
    {"hsbGrn", "Green:", 480, "lblShowGrn", "Amount of Green", 480},
    {"hsbBlu", "Blue:", 360, "lblShowBlu", "Amount of Blue", 720},
}};

QString Indexed(const char* name, int index) { return QLatin1String(name) + QString::number(index); }

} // namespace

ColourFrame::ColourFrame(int index, QWidget& dialog)
{
    const auto slot = static_cast<std::size_t>(index);
    frame = layer::Designed(new layer::Frame(QStringLiteral("Color &%1").arg(index + 1), &dialog),
                            Indexed("fraColor", index), QString(), {120, 1080 + 1200 * index, 3735, 1095});
    for (std::size_t c = 0; c < rows.size(); ++c) {
        const RowDesign& design = kRows.at(c);
        Row& row = rows.at(c);
        row.name = layer::Designed(new layer::Label(QString::fromLatin1(design.caption), frame), QString(), QString(),
                                   {120, design.top, design.captionWidth, 195});
        row.name->adjustSize(); // sized to its text

        row.bar = layer::Designed(new layer::HScrollBar(modOmbrix::kMinLevel, modOmbrix::kMaxLevel, frame),
                                  Indexed(design.name, index), QString(), {720, design.top, 1935, 255});
        row.bar->setValue(modOmbrix::kDefaultLevels.at(slot).at(c)); // the boxes follow at Refresh

        row.level = layer::Designed(new layer::Label(QStringLiteral("0"), frame), Indexed(design.levelName, index),
                                    QString::fromLatin1(design.levelTip), {2760, design.top, 480, 255});
        row.level->setAlignment(Qt::AlignCenter);
        row.level->SetSingleBorder();
        row.level->setFont(layer::DesignFont(QStringLiteral("MS Sans Serif"), 8.25, true));
        row.level->SetForeColor(Qt::white);
        row.level->SetBackColor(Qt::black);
    }
    swatch = layer::Designed(new layer::Label(QString(), frame), Indexed("lblColor", index),
                             QStringLiteral("Color Preview"), {3360, 240, 255, 765});
    swatch->SetSingleBorder();
    swatch->SetBackColor(Qt::black);
}

void ColourFrame::Refresh() const
{
    std::array<int, 3> bytes{};
    for (std::size_t c = 0; c < rows.size(); ++c) {
        bytes.at(c) = modOmbrix::LevelToByte(rows.at(c).bar->Value());
        std::array<int, 3> alone{};
        alone.at(c) = bytes.at(c);
        rows.at(c).level->setText(QString::number(bytes.at(c)));
        rows.at(c).level->SetBackColor(QColor(alone[0], alone[1], alone[2]));
    }
    swatch->SetBackColor(QColor(bytes[0], bytes[1], bytes[2]));
}

} // namespace ombrix::ui
