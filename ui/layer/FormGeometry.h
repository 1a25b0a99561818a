// A window's outer Left, Top, Width and Height in twips. The outer size is the client
// area plus the border sizes of the design, not whatever the window manager draws, so
// sizes computed from the design (a width of frame left + 90) hold exactly.
#pragma once

class QWidget;

namespace ombrix::layer {

struct DesignBorders {
    int side = 45;   // left and right border each
    int top = 300;   // caption bar plus top border
    int bottom = 45; // bottom border
};

class FormGeometry {
public:
    FormGeometry(QWidget& window, DesignBorders borders) : window_(window), borders_(borders) {}

    float Left() const;
    float Top() const;
    float Width() const;
    float Height() const;
    void SetLeft(float twips);
    void SetTop(float twips);
    void SetWidth(float twips);  // keeps the height and the left edge
    void SetHeight(float twips); // keeps the width and the top edge
    void SetClientSize(int widthTwips, int heightTwips);

private:
    QWidget& window_;
    DesignBorders borders_;
};

} // namespace ombrix::layer
