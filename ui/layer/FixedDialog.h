// A fixed-size dialog with no system menu, close, minimise or maximise button, centred
// on the screen. OK is its only way out: Escape and the window manager's close do
// nothing. Shown modally without an owner; the modal show returns when it hides.
#pragma once

#include "ui/layer/FormGeometry.h"

#include <QDialog>

#include <functional>

namespace ombrix::layer {

// A fixed dialog border with a caption bar: 345 twips of frame above and below.
inline constexpr DesignBorders kDialogBorders{45, 300, 45};

class FixedDialog : public QDialog {
public:
    FixedDialog(const QString& caption, int clientWidth, int clientHeight, DesignBorders borders, bool titleBar = true);

    // Shows the dialog modally and returns once it is hidden.
    void ShowModal();
    FormGeometry& Geometry() { return geometry_; }
    void CentreOnScreen();
    // The control that has the focus whenever the dialog opens (by default the first
    // one the window's focus chain reaches).
    void SetFirstControl(QWidget* control) { firstControl_ = control; }

    // How a dialog asks the window manager for its fixed frame (a title bar and border
    // only, or a plain border without a title bar), which Qt's window flags cannot
    // express; the desktop integration installs it at start-up.
    static void SetFrameRequest(std::function<void(QWidget& dialog, bool titleBar)> request);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    FormGeometry geometry_;
    bool titleBar_;
    QWidget* firstControl_ = nullptr;
};

} // namespace ombrix::layer
