#include "app/x11/WindowState.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace ombrix::app::x11 {
namespace {

xcb_connection_t* QtConnection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name)
{
    const auto length = static_cast<std::uint16_t>(std::strlen(name));
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, length, name), nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

xcb_window_t Native(QWidget& window)
{
    window.winId(); // creates the X window if there is none yet
    return window.windowHandle() ? static_cast<xcb_window_t>(window.windowHandle()->winId()) : 0;
}

xcb_window_t RootOf(xcb_connection_t* c, xcb_window_t window)
{
    std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> reply(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr), &std::free);
    return reply ? reply->root : 0;
}

// Adds the atom to, or removes it from, the window's _NET_WM_STATE property. Only for
// an unmapped window: a mapped one's state belongs to the window manager.
void EditStateProperty(xcb_connection_t* c, xcb_window_t window, xcb_atom_t state, bool present)
{
    const xcb_atom_t property = Atom(c, "_NET_WM_STATE");
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, property, XCB_ATOM_ATOM, 0, 1024), nullptr),
        &std::free);
    std::vector<xcb_atom_t> atoms;
    if (reply && reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
        const auto* begin = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
        atoms.assign(begin, begin + xcb_get_property_value_length(reply.get()) / 4);
    }
    const bool has = std::find(atoms.begin(), atoms.end(), state) != atoms.end();
    if (has == present)
        return;
    if (present)
        atoms.push_back(state);
    else
        atoms.erase(std::remove(atoms.begin(), atoms.end(), state), atoms.end());
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, property, XCB_ATOM_ATOM, 32,
                        static_cast<std::uint32_t>(atoms.size()), atoms.data());
}

// The EWMH request for a mapped window: a client message to the root window.
void SendStateRequest(xcb_connection_t* c, xcb_window_t window, xcb_atom_t state, bool present)
{
    constexpr std::uint32_t kRemove = 0, kAdd = 1, kFromApplication = 1;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = Atom(c, "_NET_WM_STATE");
    message.data.data32[0] = present ? kAdd : kRemove;
    message.data.data32[1] = state;
    message.data.data32[3] = kFromApplication;
    xcb_send_event(c, 0, RootOf(c, window), XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
}

// Remembers the wanted state on the window and writes it into the property before each
// map: Qt's show reads that property and keeps what it finds there.
class AboveKeeper final : public QObject {
public:
    explicit AboveKeeper(QWidget& window) : QObject(&window) { window.installEventFilter(this); }

    bool above = false;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // The show event comes before the X window is mapped.
        if (event->type() == QEvent::Show && above) {
            if (xcb_connection_t* c = QtConnection()) {
                EditStateProperty(c, Native(*static_cast<QWidget*>(watched)), Atom(c, "_NET_WM_STATE_ABOVE"), true);
                xcb_flush(c);
            }
        }
        return false;
    }
};

AboveKeeper* KeeperOf(const QWidget& window)
{
    // findChild() would match any QObject: the keeper has no meta-object of its own.
    for (QObject* child : window.children())
        if (auto* keeper = dynamic_cast<AboveKeeper*>(child))
            return keeper;
    return nullptr;
}

// The Motif window-manager hints: which of the two fields are set, the functions the
// window manager offers (move, minimise, close...) and the decorations it draws.
struct MotifHints {
    std::uint32_t fields;
    std::uint32_t functions;
    std::uint32_t decorations;
};

MotifHints MotifHintsFor(FixedFrame frame)
{
    constexpr std::uint32_t kFunctionsField = 1u << 0, kDecorationsField = 1u << 1;
    constexpr std::uint32_t kMove = 1u << 2, kMinimise = 1u << 3, kClose = 1u << 5;
    constexpr std::uint32_t kBorder = 1u << 1, kTitle = 1u << 3, kMenu = 1u << 4, kMinimiseButton = 1u << 5;
    // No resize: the windows have a fixed size, and a resize border would only be in the
    // way. No maximise, so no maximise button. A dialog offers no close (its close
    // requests are refused) and no minimise, which would hide it while it blocks the
    // main window.
    switch (frame) {
    case FixedFrame::MainWindow:
        return {kFunctionsField | kDecorationsField, kMove | kMinimise | kClose,
                kBorder | kTitle | kMenu | kMinimiseButton};
    case FixedFrame::Dialog: return {kFunctionsField | kDecorationsField, kMove, kBorder | kTitle};
    case FixedFrame::Untitled: return {kFunctionsField | kDecorationsField, kMove, kBorder};
    }
    return {0, 0, 0};
}

class FrameKeeper final : public QObject {
public:
    FrameKeeper(QWidget& window, FixedFrame frame) : QObject(&window), frame_(frame)
    {
        window.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) // before the X window is mapped
            RequestFixedFrame(*static_cast<QWidget*>(watched), frame_);
        return false;
    }

private:
    FixedFrame frame_;
};

class ModalDialogReturn final : public QAbstractNativeEventFilter {
public:
    explicit ModalDialogReturn(QWidget& mainWindow) : main_(&mainWindow) {}

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override
    {
        if (eventType != "xcb_generic_event_t" || !main_ || !main_->windowHandle())
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_FOCUS_IN)
            return false;
        const auto* focus = static_cast<const xcb_focus_in_event_t*>(message);
        if (focus->event != main_->windowHandle()->winId())
            return false;
        // After Qt has handled the focus: the dialog is then found minimised or not.
        QTimer::singleShot(0, main_, [] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog || !dialog->isMinimized())
                return;
            dialog->showNormal();
            dialog->raise();
            dialog->activateWindow();
        });
        return false;
    }

private:
    QPointer<QWidget> main_;
};

} // namespace

bool OnX11() { return QtConnection() != nullptr; }

bool ReturnModalDialogsWithMainWindow(QWidget& mainWindow)
{
    if (!QtConnection())
        return false;
    static ModalDialogReturn filter(mainWindow); // one main window per run, for the whole run
    qApp->installNativeEventFilter(&filter);
    return true;
}

bool SetAbove(QWidget& window, bool above)
{
    xcb_connection_t* c = QtConnection();
    if (!c)
        return false;
    AboveKeeper* keeper = KeeperOf(window);
    if (!keeper)
        keeper = new AboveKeeper(window);
    keeper->above = above;
    const xcb_window_t native = Native(window);
    const xcb_atom_t state = Atom(c, "_NET_WM_STATE_ABOVE");
    if (window.isVisible())
        SendStateRequest(c, native, state, above);
    else
        EditStateProperty(c, native, state, above);
    xcb_flush(c);
    return true;
}

bool WantsAbove(const QWidget& window)
{
    const AboveKeeper* keeper = KeeperOf(window);
    return keeper && keeper->above;
}

bool RequestFixedFrame(QWidget& window, FixedFrame frame)
{
    xcb_connection_t* c = QtConnection();
    if (!c)
        return false;
    const MotifHints hints = MotifHintsFor(frame);
    const std::uint32_t values[5] = {hints.fields, hints.functions, hints.decorations, 0, 0};
    const xcb_atom_t property = Atom(c, "_MOTIF_WM_HINTS");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, Native(window), property, property, 32, 5, values);
    xcb_flush(c);
    return true;
}

bool KeepFixedFrame(QWidget& window, FixedFrame frame)
{
    if (!QtConnection())
        return false;
    new FrameKeeper(window, frame);
    return true;
}

bool RequestUntitledBorder(QWidget& window)
{
    xcb_connection_t* c = QtConnection();
    if (!c)
        return false;
    const xcb_window_t native = Native(window);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, native, Atom(c, "_NET_WM_NAME"), Atom(c, "UTF8_STRING"), 8, 0, "");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, native, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0, "");
    return RequestFixedFrame(window, FixedFrame::Untitled);
}

} // namespace ombrix::app::x11
