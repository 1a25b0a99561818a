#include "ui/layer/FixedDialog.h"

#include "ui/layer/Controls.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

namespace ombrix::layer {
namespace {

std::function<void(QWidget&, bool)>& FrameRequest()
{
    static std::function<void(QWidget&, bool)> request;
    return request;
}

} // namespace

void FixedDialog::SetFrameRequest(std::function<void(QWidget& dialog, bool titleBar)> request)
{
    FrameRequest() = std::move(request);
}

FixedDialog::FixedDialog(const QString& caption, int clientWidth, int clientHeight, DesignBorders borders,
                         bool titleBar)
    : QDialog(nullptr), geometry_(*this, borders), titleBar_(titleBar)
{
    // Without WindowTitleHint Qt asks for no decoration at all; the frame is asked for
    // separately before each show.
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint;
    if (titleBar)
        flags |= Qt::WindowTitleHint;
    setWindowFlags(flags);
    setWindowTitle(caption);
    setSizeGripEnabled(false);
    geometry_.SetClientSize(clientWidth, clientHeight);
}

void FixedDialog::ShowModal()
{
    setModal(true);
    // Each showing starts at the first control in tab order, never where the focus was
    // left last time (a Space there could change a setting unseen).
    if (QWidget* first = firstControl_ ? firstControl_ : FirstTabStop(*this))
        first->setFocus(Qt::OtherFocusReason);
    exec();
}

void FixedDialog::CentreOnScreen()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    QRect frame = frameGeometry();
    frame.moveCenter(area.center());
    move(frame.topLeft());
}

void FixedDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept(); // there is no Cancel
        return;
    }
    QDialog::keyPressEvent(event);
}

void FixedDialog::showEvent(QShowEvent* event)
{
    // The show event comes before the window is mapped, while the window manager can
    // still take the request into account.
    if (FrameRequest())
        FrameRequest()(*this, titleBar_);
    QDialog::showEvent(event);
}

void FixedDialog::closeEvent(QCloseEvent* event)
{
    // Hiding through OK goes through hide(), not close(); every other close is refused.
    event->ignore();
}

} // namespace ombrix::layer
