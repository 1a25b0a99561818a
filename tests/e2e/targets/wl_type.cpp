// Types into the focused window of a wlroots compositor, as a user at the keyboard would:
//   ombrix_wl_type TEXT...      each argument's ASCII text, then Return after the last one
//   ombrix_wl_type --keys K...  named keys: Return, shift+Return, ctrl+v, alt+s, alt+y, alt+n, space
// The tests' own keyboard, independent of the program's. Prints the CLOCK_MONOTONIC
// seconds at which the last key went out ("last key at 123.456"), for timing a send.
#include "virtual-keyboard-v1-client.h"

#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <thread>
#include <time.h>

namespace {

struct Globals {
    wl_seat* seat = nullptr;
    zwp_virtual_keyboard_manager_v1* manager = nullptr;
};

void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t)
{
    auto& g = *static_cast<Globals*>(data);
    if (std::string_view(interface) == wl_seat_interface.name && g.seat == nullptr)
        g.seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    if (std::string_view(interface) == zwp_virtual_keyboard_manager_v1_interface.name)
        g.manager = static_cast<zwp_virtual_keyboard_manager_v1*>(
            wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1));
}
void OnGlobalRemove(void*, wl_registry*, std::uint32_t) {}
constexpr wl_registry_listener kListener{OnGlobal, OnGlobalRemove};

struct Stroke {
    xkb_keycode_t code;
    bool shift;
};

// Where each printable ASCII character sits on the keymap, unshifted or shifted.
std::map<char, Stroke> CharacterKeys(xkb_keymap* keymap)
{
    std::map<char, Stroke> keys;
    for (xkb_keycode_t code = xkb_keymap_min_keycode(keymap); code <= xkb_keymap_max_keycode(keymap); ++code) {
        for (xkb_level_index_t level = 0; level < 2; ++level) {
            const xkb_keysym_t* syms = nullptr;
            if (xkb_keymap_key_get_syms_by_level(keymap, code, 0, level, &syms) != 1)
                continue;
            const std::uint32_t ch = xkb_keysym_to_utf32(syms[0]);
            if (ch >= 0x20 && ch < 0x7f && keys.count(static_cast<char>(ch)) == 0)
                keys[static_cast<char>(ch)] = Stroke{code, level == 1};
        }
    }
    return keys;
}

std::uint32_t Now()
{
    using namespace std::chrono;
    return static_cast<std::uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

} // namespace

int main(int argc, char** argv)
{
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "wl_type: no Wayland display\n");
        return 2;
    }
    Globals g;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kListener, &g);
    wl_display_roundtrip(display);
    if (g.seat == nullptr || g.manager == nullptr) {
        std::fprintf(stderr, "wl_type: no seat or no virtual keyboard\n");
        return 2;
    }
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES);
    const xkb_rule_names names{"evdev", "pc105", "us", "", ""};
    xkb_keymap* keymap = xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    char* text = xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
    const std::size_t size = std::strlen(text) + 1;
    const int fd = memfd_create("wl-type-keymap", MFD_CLOEXEC);
    if (fd < 0 || write(fd, text, size) != static_cast<ssize_t>(size))
        return 2;
    zwp_virtual_keyboard_v1* keyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(g.manager, g.seat);
    zwp_virtual_keyboard_v1_keymap(keyboard, 1, fd, static_cast<std::uint32_t>(size));
    wl_display_roundtrip(display);
    std::this_thread::sleep_for(std::chrono::milliseconds(150)); // a fresh keymap needs a moment

    const std::uint32_t shift = 1u << xkb_keymap_mod_get_index(keymap, XKB_MOD_NAME_SHIFT);
    const std::uint32_t ctrl = 1u << xkb_keymap_mod_get_index(keymap, XKB_MOD_NAME_CTRL);
    const std::uint32_t alt = 1u << xkb_keymap_mod_get_index(keymap, XKB_MOD_NAME_ALT);
    timespec lastKey{};
    auto tap = [&](std::uint32_t evdev, std::uint32_t mods) {
        clock_gettime(CLOCK_MONOTONIC, &lastKey);
        zwp_virtual_keyboard_v1_modifiers(keyboard, mods, 0, 0, 0);
        zwp_virtual_keyboard_v1_key(keyboard, Now(), evdev, 1);
        zwp_virtual_keyboard_v1_key(keyboard, Now(), evdev, 0);
        zwp_virtual_keyboard_v1_modifiers(keyboard, 0, 0, 0, 0);
        wl_display_roundtrip(display);
        std::this_thread::sleep_for(std::chrono::milliseconds(15));
    };

    const std::map<std::string, std::pair<std::uint32_t, std::uint32_t>> named{
        {"Return", {KEY_ENTER, 0}}, {"shift+Return", {KEY_ENTER, shift}},
        {"ctrl+v", {KEY_V, ctrl}},  {"alt+s", {KEY_S, alt}},
        {"alt+y", {KEY_Y, alt}},    {"alt+n", {KEY_N, alt}},
        {"space", {KEY_SPACE, 0}}};
    const auto chars = CharacterKeys(keymap);
    int status = 0;
    if (argc > 1 && std::string_view(argv[1]) == "--keys") {
        for (int i = 2; i < argc; ++i) {
            const auto key = named.find(argv[i]);
            if (key == named.end()) {
                std::fprintf(stderr, "wl_type: unknown key %s\n", argv[i]);
                status = 2;
                break;
            }
            tap(key->second.first, key->second.second);
        }
    } else {
        for (int i = 1; i < argc && status == 0; ++i) {
            for (const char c : std::string_view(argv[i])) {
                const auto key = chars.find(c);
                if (key == chars.end()) {
                    std::fprintf(stderr, "wl_type: cannot type %c\n", c);
                    status = 2;
                    break;
                }
                tap(key->second.code - 8, key->second.shift ? shift : 0); // evdev codes are xkb's minus 8
            }
        }
        if (status == 0)
            tap(KEY_ENTER, 0);
    }
    std::printf("last key at %.6f\n", static_cast<double>(lastKey.tv_sec) + static_cast<double>(lastKey.tv_nsec) / 1e9);
    zwp_virtual_keyboard_v1_destroy(keyboard);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    std::free(text);
    return status;
}
