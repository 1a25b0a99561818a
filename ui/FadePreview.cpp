#include "ui/FadePreview.h"

#include "engine/Fade.h"
#include "ui/PreviewChoice.h"
#include "ui/layer/MessageBox.h"

#include <QAction>
#include <QMenu>
#include <QTextEdit>

#include <memory>

namespace ombrix::ui {
namespace {

// The box counts a line break as one character where the text has CR LF: a position of
// the text, minus the breaks before it, is one of the box.
class BoxPositions {
public:
    explicit BoxPositions(const QString& text) : text_(text) {}

    // Text positions must come in ascending order.
    int At(qsizetype textPosition)
    {
        for (; scanned_ < textPosition; ++scanned_)
            if (text_[scanned_] == QLatin1Char('\n') && scanned_ > 0 && text_[scanned_ - 1] == QLatin1Char('\r'))
                ++breaks_;
        return static_cast<int>(textPosition - breaks_);
    }

private:
    const QString& text_;
    qsizetype scanned_ = 0;
    qsizetype breaks_ = 0;
};

} // namespace

FadePreview::FadePreview(layer::TextBox& box, const modOmbrix::ColourTable& colours)
    : QObject(&box), box_(box), colours_(colours), on_(LoadShowColoursWhileTyping())
{
    box_.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&box_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const std::unique_ptr<QMenu> menu(CreateContextMenu());
        menu->exec(box_.viewport()->mapToGlobal(at)); // a scroll area reports viewport positions
    });
}

void FadePreview::SetOn(bool on)
{
    on_ = on;
    if (!SaveShowColoursWhileTyping(on))
        layer::MessageBox::Warning(QStringLiteral("HTML Ombrix"),
                                   QStringLiteral("The choice to show colours while typing could not be saved; it "
                                                  "holds until the program ends."));
    try {
        Show(box_.Text());
    } catch (const modOmbrix::TextTooLongError&) {
        Clear(); // the count already says the text is too long
    }
}

void FadePreview::Show(const QString& text)
{
    if (!on_ || text.isEmpty()) {
        Clear();
        return;
    }
    Show(text, modOmbrix::FindColourChanges(
                   std::u16string_view(QStringView(text).utf16(), static_cast<std::size_t>(text.size())), colours_));
}

void FadePreview::Show(const QString& text, const std::vector<modOmbrix::ColourChange>& tags)
{
    if (!on_ || text.isEmpty()) {
        Clear();
        return;
    }
    BoxPositions positions(text);
    QList<QTextEdit::ExtraSelection> runs;
    runs.reserve(static_cast<qsizetype>(tags.size()));
    // A run with a colour only is skipped where it touches the run before it (Qt draws
    // such selections once per region), so each also paints the box's own background.
    const QBrush background = box_.palette().brush(QPalette::Base);
    QTextCursor cursor(box_.document());
    for (std::size_t i = 0; i < tags.size(); ++i) {
        const qsizetype end = i + 1 < tags.size() ? tags[i + 1].position - 1 : text.size();
        cursor.setPosition(positions.At(tags[i].position - 1));
        cursor.setPosition(positions.At(end), QTextCursor::KeepAnchor);
        QTextEdit::ExtraSelection run{cursor, {}};
        run.format.setForeground(QColor::fromRgb(modOmbrix::CodeToRgb(tags[i].code)));
        run.format.setBackground(background);
        runs.append(run);
    }
    box_.setExtraSelections(runs);
}

void FadePreview::Clear()
{
    if (!box_.extraSelections().isEmpty())
        box_.setExtraSelections({});
}

QMenu* FadePreview::CreateContextMenu()
{
    QMenu* menu = box_.createStandardContextMenu();
    menu->addSeparator();
    QAction* showColours = menu->addAction(QStringLiteral("Show Colours While Typing"));
    showColours->setObjectName(QStringLiteral("mnuShowColours"));
    showColours->setCheckable(true);
    showColours->setChecked(on_);
    connect(showColours, &QAction::toggled, this, &FadePreview::SetOn);
    for (const auto& extension : extensions_)
        extension(*menu);
    return menu;
}

} // namespace ombrix::ui
