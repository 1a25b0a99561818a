// One colour of the colour dialog: its frame, a row per channel (name, level bar, byte
// box) and the swatch of the colour the three make. The dialog has six of them.
#pragma once

#include "ui/layer/Controls.h"

#include <array>

namespace ombrix::ui {

class ColourFrame final {
public:
    // Builds the controls inside the dialog, at slot index's place, with the design levels.
    ColourFrame(int index, QWidget& dialog);

    // Shows the bars' levels as bytes in the boxes and the swatch.
    void Refresh() const;

    struct Row {
        layer::Label* name = nullptr;
        layer::HScrollBar* bar = nullptr;
        layer::Label* level = nullptr; // the channel's byte, on its own colour
    };
    layer::Frame* frame = nullptr;
    std::array<Row, 3> rows{}; // red, green, blue
    layer::Label* swatch = nullptr;
};

} // namespace ombrix::ui
