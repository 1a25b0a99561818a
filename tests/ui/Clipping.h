// What a user would see cut off or crowded in a window: every caption, indicator and
// control must lie whole inside the rectangle it was given. Each problem names the
// control, so one check covers a whole window.
#pragma once

#include "ui/layer/Controls.h"
#include "ui/layer/GapLabel.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>

#include <string>
#include <vector>

namespace ombrix::test {

inline std::string Name(const QWidget* w)
{
    return w->objectName().isEmpty() ? "(unnamed)" : w->objectName().toStdString();
}

inline QString Visible(QString caption) { return caption.remove(QLatin1Char('&')); }

inline std::vector<std::string> ClippedContent(const QWidget& window)
{
    std::vector<std::string> problems;
    auto problem = [&](const QWidget* w, const std::string& what) { problems.push_back(Name(w) + ": " + what); };

    for (const QAbstractButton* b : window.findChildren<QAbstractButton*>()) {
        const bool check = qobject_cast<const QCheckBox*>(b) != nullptr;
        const bool option = qobject_cast<const QRadioButton*>(b) != nullptr;
        const QFontMetrics fm = b->fontMetrics();
        if (check || option) {
            QStyleOptionButton opt;
            opt.initFrom(b);
            opt.text = b->text();
            const auto indicator = check ? QStyle::SE_CheckBoxIndicator : QStyle::SE_RadioButtonIndicator;
            const auto contents = check ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents;
            if (!b->rect().contains(b->style()->subElementRect(indicator, &opt, b)))
                problem(b, "indicator cut off");
            const QRect text = b->style()->subElementRect(contents, &opt, b);
            if (text.left() + fm.horizontalAdvance(Visible(b->text())) > b->width())
                problem(b, "caption cut off at the right");
        } else if (qobject_cast<const QPushButton*>(b) && !b->text().isEmpty() && b->text().size() > 1) {
            if (fm.horizontalAdvance(Visible(b->text())) + 4 > b->width())
                problem(b, "caption wider than the button");
        }
        if (fm.height() > b->height())
            problem(b, "caption taller than the control");
    }
    for (const QLabel* l : window.findChildren<QLabel*>()) {
        if (l->text().isEmpty() || dynamic_cast<const layer::GapLabel*>(l))
            continue;
        const QRect room = l->contentsRect();
        if (l->fontMetrics().horizontalAdvance(l->text()) > room.width())
            problem(l, "caption wider than the label");
        if (l->fontMetrics().height() > room.height() + 1) // the face's line gap may overhang
            problem(l, "caption taller than the label");
    }
    for (const QGroupBox* box : window.findChildren<QGroupBox*>()) {
        const auto* f = dynamic_cast<const layer::Frame*>(box);
        if (!f)
            continue;
        for (const QWidget* c : f->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            const QRect g = c->geometry();
            if (g.top() <= f->BorderTop() + 1)
                problem(c, "on or above its frame's top line");
            if (g.right() > f->width() - 3 || g.bottom() > f->height() - 3 || g.left() < 2)
                problem(c, "on or past its frame's border");
        }
    }
    return problems;
}

} // namespace ombrix::test
