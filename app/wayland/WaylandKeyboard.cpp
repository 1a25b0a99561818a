#include "app/wayland/WaylandKeyboard.h"

#include "virtual-keyboard-v1-client.h"

#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace ombrix::app::wayland {
namespace {

using Clock = std::chrono::steady_clock;

// wl_keyboard's values, which the virtual keyboard shares.
constexpr std::uint32_t kKeymapFormatXkbV1 = 1;
constexpr std::uint32_t kReleased = 0;
constexpr std::uint32_t kPressed = 1;

template <class T, void (*Free)(T*)>
struct Deleter {
    void operator()(T* p) const { Free(p); }
};
using XkbContext = std::unique_ptr<xkb_context, Deleter<xkb_context, xkb_context_unref>>;
using XkbKeymap = std::unique_ptr<xkb_keymap, Deleter<xkb_keymap, xkb_keymap_unref>>;

// The globals we look for, found on a queue of our own so that Qt's dispatching of its
// own queue never sees them.
struct Globals {
    wl_seat* seat = nullptr;
    zwp_virtual_keyboard_manager_v1* manager = nullptr;
};

void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t)
{
    auto& globals = *static_cast<Globals*>(data);
    const std::string_view which(interface);
    // The first seat: a desktop has one, and it is the one the user types on.
    if (which == wl_seat_interface.name && globals.seat == nullptr)
        globals.seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    else if (which == zwp_virtual_keyboard_manager_v1_interface.name && globals.manager == nullptr)
        globals.manager = static_cast<zwp_virtual_keyboard_manager_v1*>(
            wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1));
}

void OnGlobalRemove(void*, wl_registry*, std::uint32_t) {}

constexpr wl_registry_listener kRegistryListener{OnGlobal, OnGlobalRemove};

std::uint32_t Milliseconds()
{
    using namespace std::chrono;
    return static_cast<std::uint32_t>(duration_cast<milliseconds>(Clock::now().time_since_epoch()).count());
}

// A complete US keymap, as a compositor expects one: a sparse keymap left Ctrl+V and
// Alt+S without effect in some clients.
struct Keymap {
    XkbKeymap keymap;
    std::string text;
    std::uint32_t ctrl = 0;
    std::uint32_t alt = 0;
};

bool BuildKeymap(Keymap& out)
{
    XkbContext context(xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES));
    if (!context)
        return false;
    const xkb_rule_names names{"evdev", "pc105", "us", "", ""};
    out.keymap.reset(xkb_keymap_new_from_names(context.get(), &names, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!out.keymap)
        return false;
    char* text = xkb_keymap_get_as_string(out.keymap.get(), XKB_KEYMAP_FORMAT_TEXT_V1);
    if (text == nullptr)
        return false;
    out.text.assign(text);
    std::free(text);
    const xkb_mod_index_t ctrl = xkb_keymap_mod_get_index(out.keymap.get(), XKB_MOD_NAME_CTRL);
    const xkb_mod_index_t alt = xkb_keymap_mod_get_index(out.keymap.get(), XKB_MOD_NAME_ALT);
    if (ctrl == XKB_MOD_INVALID || alt == XKB_MOD_INVALID)
        return false;
    out.ctrl = 1u << ctrl;
    out.alt = 1u << alt;
    return true;
}

// The keymap in a sealed memory file, as the request wants it; -1 on failure.
int KeymapFile(const std::string& text)
{
    const int fd = memfd_create("ombrix-keymap", MFD_CLOEXEC);
    if (fd < 0)
        return -1;
    const std::size_t size = text.size() + 1; // with its terminating NUL
    std::size_t written = 0;
    while (written < size) {
        const ssize_t n = write(fd, text.c_str() + written, size - written);
        if (n <= 0) {
            close(fd);
            return -1;
        }
        written += static_cast<std::size_t>(n);
    }
    return fd;
}

} // namespace

struct WaylandKeyboard::Objects {
    wl_display* display = nullptr;
    wl_event_queue* queue = nullptr;
    wl_registry* registry = nullptr;
    Globals globals;
    zwp_virtual_keyboard_v1* keyboard = nullptr;
    Keymap keymap;
    Clock::time_point keymapSent{};

    ~Objects()
    {
        if (keyboard != nullptr)
            zwp_virtual_keyboard_v1_destroy(keyboard);
        // The manager's interface has no destructor request: only forget it here.
        if (globals.manager != nullptr)
            wl_proxy_destroy(reinterpret_cast<wl_proxy*>(globals.manager));
        if (globals.seat != nullptr)
            wl_seat_destroy(globals.seat);
        if (registry != nullptr)
            wl_registry_destroy(registry);
        if (display != nullptr)
            wl_display_flush(display);
        if (queue != nullptr)
            wl_event_queue_destroy(queue);
    }
};

std::unique_ptr<WaylandKeyboard> WaylandKeyboard::Open(wl_display* display)
{
    if (display == nullptr)
        return nullptr;
    auto objects = std::make_unique<Objects>();
    objects->display = display;
    objects->queue = wl_display_create_queue(display);
    if (objects->queue == nullptr)
        return nullptr;
    auto* wrapper = static_cast<wl_display*>(wl_proxy_create_wrapper(display));
    if (wrapper == nullptr)
        return nullptr;
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(wrapper), objects->queue);
    objects->registry = wl_display_get_registry(wrapper);
    wl_proxy_wrapper_destroy(wrapper);
    if (objects->registry == nullptr)
        return nullptr;
    wl_registry_add_listener(objects->registry, &kRegistryListener, &objects->globals);
    if (wl_display_roundtrip_queue(display, objects->queue) < 0)
        return nullptr;
    // Without a seat there is nothing to type on (a headless compositor may have none).
    if (objects->globals.seat == nullptr || objects->globals.manager == nullptr)
        return nullptr;
    if (!BuildKeymap(objects->keymap)) {
        std::fprintf(stderr, "ombrix: no keyboard map could be built for the virtual keyboard\n");
        return nullptr;
    }
    const int fd = KeymapFile(objects->keymap.text);
    if (fd < 0) {
        std::perror("ombrix: keyboard map file");
        return nullptr;
    }
    objects->keyboard =
        zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(objects->globals.manager, objects->globals.seat);
    // The request takes its own copy of the descriptor.
    zwp_virtual_keyboard_v1_keymap(objects->keyboard, kKeymapFormatXkbV1, fd,
                                   static_cast<std::uint32_t>(objects->keymap.text.size() + 1));
    close(fd);
    if (wl_display_roundtrip_queue(display, objects->queue) < 0)
        return nullptr;
    objects->keymapSent = Clock::now();
    return std::unique_ptr<WaylandKeyboard>(new WaylandKeyboard(std::move(objects)));
}

WaylandKeyboard::WaylandKeyboard(std::unique_ptr<Objects> objects) : objects_(std::move(objects)) {}

WaylandKeyboard::~WaylandKeyboard() = default;

std::chrono::steady_clock::duration WaylandKeyboard::SinceKeymap() const { return Clock::now() - objects_->keymapSent; }

void WaylandKeyboard::Tap(unsigned key, unsigned modifiers)
{
    // The modifier state goes with each key: clients take Ctrl and Alt from it, not from
    // the Ctrl and Alt keys.
    zwp_virtual_keyboard_v1* keyboard = objects_->keyboard;
    zwp_virtual_keyboard_v1_modifiers(keyboard, modifiers, 0, 0, 0);
    zwp_virtual_keyboard_v1_key(keyboard, Milliseconds(), key, kPressed);
    zwp_virtual_keyboard_v1_key(keyboard, Milliseconds(), key, kReleased);
    zwp_virtual_keyboard_v1_modifiers(keyboard, 0, 0, 0, 0);
}

bool WaylandKeyboard::PressCtrlV()
{
    Tap(KEY_V, objects_->keymap.ctrl);
    return wl_display_roundtrip_queue(objects_->display, objects_->queue) >= 0;
}

bool WaylandKeyboard::Press(Keystroke key)
{
    const std::uint32_t ctrl = objects_->keymap.ctrl;
    const std::uint32_t alt = objects_->keymap.alt;
    switch (key) {
    case Keystroke::Space: Tap(KEY_SPACE, 0); break;
    case Keystroke::AltS: Tap(KEY_S, alt); break;
    case Keystroke::Enter: Tap(KEY_ENTER, 0); break;
    case Keystroke::CtrlEnter: Tap(KEY_ENTER, ctrl); break;
    case Keystroke::Escape: Tap(KEY_ESC, 0); break;
    }
    return wl_display_roundtrip_queue(objects_->display, objects_->queue) >= 0;
}

} // namespace ombrix::app::wayland
