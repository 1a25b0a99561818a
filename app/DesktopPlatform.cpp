#include "app/DesktopPlatform.h"

#include "app/ClipboardData.h"
#include "app/DeliveryTiming.h"
#include "app/PasteFetchTracker.h"
#include "app/X11Session.h"

#include <QClipboard>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace ombrix::app {
namespace {

using Clock = std::chrono::steady_clock;

// Runs the event loop, without user input, until done() holds. The clipboard's owner has
// to answer paste requests from its event loop, so a wait that spins without it would make
// the paste arrive empty.
template <class Done>
void ServeEventsUntil(Done done)
{
    if (done())
        return;
    QEventLoop loop;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(2);
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    tick.start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

DesktopPlatform::DesktopPlatform(QWidget& mainWindow) : main_(mainWindow)
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr)
        return; // not an X11 session: Send can only copy
    x11_ = X11Session::Open(x11->display());
    if (const auto atoms = PasteFetchTracker::AtomsOf(x11->connection())) {
        tracker_ = std::make_unique<PasteFetchTracker>(*atoms);
        qGuiApp->installNativeEventFilter(tracker_.get());
    }
    focusWatch_ = QObject::connect(qGuiApp, &QGuiApplication::applicationStateChanged, [this](Qt::ApplicationState s) {
        if (s != Qt::ApplicationActive)
            RememberFocusOutside();
    });
    RememberFocusOutside();
}

DesktopPlatform::~DesktopPlatform()
{
    QObject::disconnect(focusWatch_);
    if (tracker_)
        qGuiApp->removeNativeEventFilter(tracker_.get());
}

void DesktopPlatform::RememberFocusOutside()
{
    if (!x11_)
        return;
    const XWindowId focus = x11_->FocusedWindow();
    if (!x11_->IsNoWindow(focus) && focus != OurWindow())
        focusBefore_ = focus;
}

XWindowId DesktopPlatform::OurWindow() const
{
    // Qt re-creates the X window when it shows again after the stacking flags changed, and
    // QWidget::winId() keeps the old id; the QWindow knows the current one.
    const QWindow* window = main_.windowHandle();
    return window != nullptr ? window->winId() : 0;
}

void DesktopPlatform::ClearClipboard() { QGuiApplication::clipboard()->clear(); }

bool DesktopPlatform::SetClipboardText(const QString& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    auto* data = new QMimeData; // the clipboard takes it over
    FillClipboardData(*data, text);
    clipboard->setMimeData(data);
    // Qt only warns when another program keeps the clipboard; reading it back tells.
    return clipboard->text() == text;
}

void DesktopPlatform::HideMainWindow() { main_.hide(); }

void DesktopPlatform::ShowMainWindow()
{
    main_.show();
    main_.raise();
    main_.activateWindow();
}

void DesktopPlatform::WaitTenth()
{
    const auto start = Clock::now();
    ServeEventsUntil([&] { return TenthIsOver(Clock::now() - start); });
}

void DesktopPlatform::HandFocusBackIfLost()
{
    if (!x11_ || focusBefore_ == 0)
        return;
    const XWindowId focus = x11_->FocusedWindow();
    if (x11_->IsNoWindow(focus) || focus == OurWindow())
        x11_->GiveFocus(focusBefore_);
}

void DesktopPlatform::PressPaste()
{
    const auto start = Clock::now();
    ServeEventsUntil([&] { return !x11_->ModifierHeld() || Clock::now() - start >= kModifierLimit; });
    if (tracker_)
        tracker_->Start();
    x11_->PressCtrlV();
}

void DesktopPlatform::WaitForPasteFetched()
{
    const auto keys = Clock::now();
    if (!tracker_) {
        // Without the tracker all we can do is give the target the longest time.
        ServeEventsUntil([&] { return Clock::now() - keys >= kFetchLimit; });
        return;
    }
    ServeEventsUntil([&] {
        return FetchWaitIsOver(tracker_->DataRequests(), tracker_->SinceLastRequest(), Clock::now() - keys);
    });
}

void DesktopPlatform::PressSpaceAndSend() { x11_->PressSpaceAltS(); }

} // namespace ombrix::app
