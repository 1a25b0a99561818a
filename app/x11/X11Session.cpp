#include "app/x11/X11Session.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace ombrix::app::x11 {

struct X11Session::Keys {
    KeyCode control;
    KeyCode alt;
    KeyCode v;
    KeyCode s;
    KeyCode space;
    KeyCode enter;
    KeyCode escape;

    bool All() const { return control && alt && v && s && space && enter && escape; }
};

namespace {

Display* AsDisplay(void* display) { return static_cast<Display*>(display); }

// Taps key with modifier held (modifier 0: none), and waits until the server has them.
void Tap(Display* display, KeyCode modifier, KeyCode key)
{
    if (modifier != 0)
        XTestFakeKeyEvent(display, modifier, True, CurrentTime);
    XTestFakeKeyEvent(display, key, True, CurrentTime);
    XTestFakeKeyEvent(display, key, False, CurrentTime);
    if (modifier != 0)
        XTestFakeKeyEvent(display, modifier, False, CurrentTime);
    XSync(display, False);
}

int IgnoreError(Display*, XErrorEvent*) { return 0; }

} // namespace

std::unique_ptr<X11Session> X11Session::Open(void* qtDisplay)
{
    if (qtDisplay == nullptr)
        return nullptr;
    Display* display = XOpenDisplay(DisplayString(AsDisplay(qtDisplay)));
    if (display == nullptr)
        return nullptr;
    int event = 0, error = 0, major = 0, minor = 0;
    const auto code = [display](KeySym sym) { return XKeysymToKeycode(display, sym); };
    auto keys = std::make_unique<Keys>(Keys{code(XK_Control_L), code(XK_Alt_L), code(XK_v), code(XK_s), code(XK_space),
                                            code(XK_Return), code(XK_Escape)});
    const bool usable = XTestQueryExtension(display, &event, &error, &major, &minor) != 0 && keys->All();
    if (!usable) {
        XCloseDisplay(display);
        return nullptr;
    }
    return std::unique_ptr<X11Session>(new X11Session(display, std::move(keys)));
}

X11Session::X11Session(void* display, std::unique_ptr<Keys> keys) : display_(display), keys_(std::move(keys)) {}

X11Session::~X11Session() { XCloseDisplay(AsDisplay(display_)); }

bool X11Session::ModifierHeld()
{
    Display* display = AsDisplay(display_);
    char down[32] = {};
    XQueryKeymap(display, down);
    XModifierKeymap* modifiers = XGetModifierMapping(display);
    if (modifiers == nullptr)
        return false;
    bool held = false;
    const int count = 8 * modifiers->max_keypermod;
    for (int i = 0; i < count && !held; ++i) {
        const KeyCode key = modifiers->modifiermap[i];
        held = key != 0 && (down[key / 8] & (1 << (key % 8))) != 0;
    }
    XFreeModifiermap(modifiers);
    return held;
}

void X11Session::PressCtrlV() { Tap(AsDisplay(display_), keys_->control, keys_->v); }

void X11Session::Press(Keystroke key)
{
    Display* display = AsDisplay(display_);
    switch (key) {
    case Keystroke::Space: return Tap(display, 0, keys_->space);
    case Keystroke::AltS: return Tap(display, keys_->alt, keys_->s);
    case Keystroke::Enter: return Tap(display, 0, keys_->enter);
    case Keystroke::CtrlEnter: return Tap(display, keys_->control, keys_->enter);
    case Keystroke::Escape: return Tap(display, 0, keys_->escape);
    }
}

XWindowId X11Session::FocusedWindow()
{
    Window focus = None;
    int revertTo = 0;
    XGetInputFocus(AsDisplay(display_), &focus, &revertTo);
    return focus;
}

bool X11Session::IsNoWindow(XWindowId window) const
{
    return window == None || window == PointerRoot || window == DefaultRootWindow(AsDisplay(display_));
}

void X11Session::GiveFocus(XWindowId window)
{
    Display* display = AsDisplay(display_);
    // The window may have been destroyed since we noted it; that must not end the program.
    XSync(display, False);
    const auto previous = XSetErrorHandler(IgnoreError);
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    XSync(display, False);
    XSetErrorHandler(previous);
}

} // namespace ombrix::app::x11
