#include "app/atspi/AtspiTargetView.h"

#include <atspi/atspi.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

namespace ombrix::app::atspi {
namespace {

// A target that is stopped or hung would otherwise hold each call for up to 15 s, with our
// event loop (which answers the paste) blocked meanwhile.
constexpr int kCallTimeoutMs = 400;

// The events that tell where the focus is, what a text holds, and what opens.
constexpr const char* kEvents[] = {"focus:", "object:state-changed:focused", "object:text-changed", "window:activate",
                                   "window:create"};

void ReportAndFree(GError*& error, const char* what)
{
    if (error == nullptr)
        return;
    std::fprintf(stderr, "ombrix: accessibility bus: %s: %s\n", what, error->message);
    g_clear_error(&error);
}

QString TakeString(gchar* text)
{
    if (text == nullptr)
        return {};
    QString out = QString::fromUtf8(text);
    g_free(text);
    return out;
}

bool IsMenu(AtspiRole role)
{
    switch (role) {
    case ATSPI_ROLE_MENU:
    case ATSPI_ROLE_MENU_ITEM:
    case ATSPI_ROLE_MENU_BAR:
    case ATSPI_ROLE_POPUP_MENU:
    case ATSPI_ROLE_CHECK_MENU_ITEM:
    case ATSPI_ROLE_RADIO_MENU_ITEM:
    case ATSPI_ROLE_TEAROFF_MENU_ITEM: return true;
    default: return false;
    }
}

void OnEvent(AtspiEvent* event, void* view)
{
    static_cast<AtspiTargetView*>(view)->Handle(event->type, event->source, event->detail1);
    g_boxed_free(ATSPI_TYPE_EVENT, event);
}

} // namespace

struct AtspiTargetView::Bus {
    AtspiEventListener* listener = nullptr;
    bool following = false;
    // The objects seen since Follow, each held; an object's id is its place here plus one.
    std::vector<AtspiAccessible*> objects;

    ~Bus()
    {
        Release();
        if (listener != nullptr)
            g_object_unref(listener);
    }

    void Release()
    {
        for (AtspiAccessible* object : objects)
            g_object_unref(object);
        objects.clear();
    }

    std::uint64_t IdOf(AtspiAccessible* object)
    {
        for (std::size_t i = 0; i < objects.size(); ++i) {
            if (objects[i] == object)
                return i + 1;
        }
        objects.push_back(static_cast<AtspiAccessible*>(g_object_ref(object)));
        return objects.size();
    }
};

AtspiTargetView::AtspiTargetView()
{
    // atspi_init finds the bus through the session bus (or the X root window); it returns
    // 0 when it connected now and 1 when it already had.
    if (atspi_init() > 1 || atspi_get_a11y_bus() == nullptr) {
        std::fprintf(stderr, "ombrix: no accessibility bus: sends go by the clipboard alone\n");
        return;
    }
    atspi_set_timeout(kCallTimeoutMs, kCallTimeoutMs);
    bus_ = std::make_unique<Bus>();
    bus_->listener = atspi_event_listener_new(OnEvent, this, nullptr);
    // Listening from the start: a program learns of a new listener in its own time, and
    // one registered at a Send could miss the focus that the previous window takes back.
    for (const char* type : kEvents) {
        GError* error = nullptr;
        if (!atspi_event_listener_register(bus_->listener, type, &error))
            ReportAndFree(error, type);
    }
}

AtspiTargetView::~AtspiTargetView()
{
    if (!bus_)
        return;
    for (const char* type : kEvents) {
        GError* error = nullptr;
        atspi_event_listener_deregister(bus_->listener, type, &error);
        g_clear_error(&error);
    }
}

void AtspiTargetView::Follow()
{
    StopFollowing();
    focus_.reset();
    windowsOpened_ = 0;
    textChanges_ = 0;
    if (bus_)
        bus_->following = true;
}

void AtspiTargetView::StopFollowing()
{
    if (!bus_ || !bus_->following)
        return;
    bus_->following = false;
    bus_->Release();
    focus_.reset();
}

std::optional<FocusedObject> AtspiTargetView::Focus() const { return focus_; }

void AtspiTargetView::Handle(const char* type, void* source, int detail1)
{
    if (!bus_ || !bus_->following || source == nullptr)
        return;
    auto* object = static_cast<AtspiAccessible*>(source);
    GError* error = nullptr;
    const guint pid = atspi_accessible_get_process_id(object, &error);
    g_clear_error(&error);
    if (pid == static_cast<guint>(getpid()))
        return; // our own windows, where the session's accessibility is on
    const std::string_view event(type);
    if (event.starts_with("window:")) {
        ++windowsOpened_;
        return;
    }
    if (event.starts_with("object:text-changed")) {
        ++textChanges_;
        return;
    }
    if (event.starts_with("object:state-changed:focused") && detail1 == 0)
        return; // an object that lost the focus
    FocusedObject focus;
    focus.id = bus_->IdOf(object);
    const AtspiRole role = atspi_accessible_get_role(object, &error);
    ReportAndFree(error, "role");
    focus.role = TakeString(atspi_accessible_get_role_name(object, &error));
    ReportAndFree(error, "role name");
    focus.inMenu = IsMenu(role);
    // Read fresh: a field's editable state can change while it is known.
    atspi_accessible_clear_cache(object);
    if (AtspiStateSet* states = atspi_accessible_get_state_set(object)) {
        // The state, not the EditableText interface: read-only history views have that too.
        focus.editable = atspi_state_set_contains(states, ATSPI_STATE_EDITABLE) != 0;
        g_object_unref(states);
    }
    if (AtspiAccessible* application = atspi_accessible_get_application(object, &error)) {
        focus.program = TakeString(atspi_accessible_get_name(application, &error));
        g_object_unref(application);
    }
    ReportAndFree(error, "program");
    focus_ = focus;
}

std::optional<QString> AtspiTargetView::TextOf(std::uint64_t id)
{
    if (!bus_ || id == 0 || id > bus_->objects.size())
        return std::nullopt;
    AtspiText* text = atspi_accessible_get_text_iface(bus_->objects[id - 1]);
    if (text == nullptr)
        return std::nullopt;
    GError* error = nullptr;
    std::optional<QString> out;
    const gint count = atspi_text_get_character_count(text, &error);
    if (error == nullptr)
        out = TakeString(atspi_text_get_text(text, 0, count, &error));
    if (error != nullptr) {
        ReportAndFree(error, "text");
        out.reset();
    }
    g_object_unref(text);
    return out;
}

} // namespace ombrix::app::atspi
