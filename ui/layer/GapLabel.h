// A one-line label whose caption holds a run of spaces as room for another control
// (a count box): the words before the run are drawn flush left and the words after it
// flush right, each with the face's own spacing, so neither depends on how wide the
// face draws a space.
#pragma once

#include <QLabel>

#include <utility>

namespace ombrix::layer {

class GapLabel final : public QLabel {
public:
    GapLabel(const QString& caption, QWidget* parent) : QLabel(caption, parent) {}

    // Where the words before and after the longest run of spaces are drawn.
    std::pair<QRect, QRect> TextRects() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::pair<QString, QString> Parts() const;
};

} // namespace ombrix::layer
