// A fixed-size dialog with no system menu, close, minimise or maximise button, centred
// on the screen. OK is its only way out: Escape and the window manager's close do
// nothing. Shown modally without an owner; the modal show returns when it hides.
#pragma once

#include "ui/layer/FormGeometry.h"

#include <QDialog>

namespace ombrix::layer {

// A fixed dialog border with a caption bar: 345 twips of frame above and below.
inline constexpr DesignBorders kDialogBorders{45, 300, 45};

class FixedDialog : public QDialog {
public:
    FixedDialog(const QString& caption, int clientWidth, int clientHeight, DesignBorders borders,
                bool titleBar = true);

    // Shows the dialog modally and returns once it is hidden.
    void ShowModal();
    FormGeometry& Geometry() { return geometry_; }
    void CentreOnScreen();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    FormGeometry geometry_;
};

} // namespace ombrix::layer
