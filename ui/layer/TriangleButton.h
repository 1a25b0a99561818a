// A button whose caption "3" or "4" is drawn as a left- or right-pointing triangle.
// The caption text itself stays "3"/"4": the settings file compares against it.
#pragma once

#include <QPushButton>

namespace ombrix::layer {

class TriangleButton final : public QPushButton {
public:
    TriangleButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) { setAutoDefault(false); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override; // Enter presses it, as Space does
};

} // namespace ombrix::layer
