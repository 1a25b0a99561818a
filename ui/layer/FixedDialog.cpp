#include "ui/layer/FixedDialog.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

namespace ombrix::layer {

FixedDialog::FixedDialog(const QString& caption, int clientWidth, int clientHeight, DesignBorders borders,
                         bool titleBar)
    : QDialog(nullptr), geometry_(*this, borders)
{
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint;
    flags |= titleBar ? Qt::WindowTitleHint : Qt::FramelessWindowHint;
    setWindowFlags(flags);
    setWindowTitle(caption);
    setSizeGripEnabled(false);
    geometry_.SetClientSize(clientWidth, clientHeight);
}

void FixedDialog::ShowModal()
{
    setModal(true);
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

void FixedDialog::closeEvent(QCloseEvent* event)
{
    // Hiding through OK goes through hide(), not close(); every other close is refused.
    event->ignore();
}

} // namespace ombrix::layer
