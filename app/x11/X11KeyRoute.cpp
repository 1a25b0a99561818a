#include "app/x11/X11KeyRoute.h"

#include "app/DeliveryTiming.h"
#include "app/ServeEvents.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace ombrix::app::x11 {
namespace {

using namespace std::chrono_literals;

// Under XWayland the compositor moves the focus back to the previous window, an X11 one
// included, about a tenth of a second after ours hides; give it a little longer before
// taking a focus on no X11 window as a Wayland window's.
constexpr std::chrono::nanoseconds kCompositorFocusLimit = 200ms;

} // namespace

std::unique_ptr<X11KeyRoute> X11KeyRoute::Open(QWidget& mainWindow, bool insideWayland)
{
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 == nullptr)
        return nullptr;
    auto session = X11Session::Open(x11->display());
    if (!session)
        return nullptr;
    return std::unique_ptr<X11KeyRoute>(new X11KeyRoute(mainWindow, std::move(session), insideWayland));
}

X11KeyRoute::X11KeyRoute(QWidget& mainWindow, std::unique_ptr<X11Session> session, bool insideWayland)
    : main_(mainWindow), x11_(std::move(session)), insideWayland_(insideWayland)
{
    if (insideWayland_)
        return; // the focus is never handed back there, so there is nothing to note
    focusWatch_ = QObject::connect(qGuiApp, &QGuiApplication::applicationStateChanged, [this](Qt::ApplicationState s) {
        if (s != Qt::ApplicationActive)
            RememberFocusOutside();
    });
    RememberFocusOutside();
}

X11KeyRoute::~X11KeyRoute() { QObject::disconnect(focusWatch_); }

void X11KeyRoute::RememberFocusOutside()
{
    const XWindowId focus = x11_->FocusedWindow();
    if (!x11_->IsNoWindow(focus) && focus != OurWindow())
        focusBefore_ = focus;
}

XWindowId X11KeyRoute::OurWindow() const
{
    // Qt re-creates the X window when it shows again after the stacking flags changed, and
    // QWidget::winId() keeps the old id; the QWindow knows the current one.
    const QWindow* window = main_.windowHandle();
    return window != nullptr ? window->winId() : 0;
}

bool X11KeyRoute::ReachesPreviousWindow()
{
    if (!insideWayland_) {
        HandFocusBackIfLost();
        return true; // whether the keys were taken, the fetch tells
    }
    const auto onAnotherX11Window = [this] {
        const XWindowId focus = x11_->FocusedWindow();
        return !x11_->IsNoWindow(focus) && focus != OurWindow();
    };
    const auto start = std::chrono::steady_clock::now();
    ServeEventsUntil(
        [&] { return onAnotherX11Window() || std::chrono::steady_clock::now() - start >= kCompositorFocusLimit; });
    return onAnotherX11Window();
}

void X11KeyRoute::HandFocusBackIfLost()
{
    if (focusBefore_ == 0)
        return;
    const XWindowId focus = x11_->FocusedWindow();
    if (x11_->IsNoWindow(focus) || focus == OurWindow())
        x11_->GiveFocus(focusBefore_);
}

void X11KeyRoute::PressPaste()
{
    const auto start = std::chrono::steady_clock::now();
    ServeEventsUntil(
        [&] { return !x11_->ModifierHeld() || std::chrono::steady_clock::now() - start >= kModifierLimit; });
    x11_->PressCtrlV();
}

void X11KeyRoute::Press(Keystroke key) { x11_->Press(key); }

} // namespace ombrix::app::x11
