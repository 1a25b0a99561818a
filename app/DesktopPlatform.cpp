#include "app/DesktopPlatform.h"

#include "app/ClipboardData.h"
#include "app/DeliveryTiming.h"
#include "app/ServeEvents.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QWidget>

namespace ombrix::app {

DesktopPlatform::DesktopPlatform(QWidget& mainWindow) : DesktopPlatform(mainWindow, OpenDeliveryRoutes(mainWindow)) {}

DesktopPlatform::DesktopPlatform(QWidget& mainWindow, DeliveryRoutes routes)
    : main_(mainWindow), routes_(std::move(routes))
{
}

bool DesktopPlatform::CanInjectKeys() { return !routes_.keys.empty() && routes_.fetch != nullptr; }

void DesktopPlatform::ClearClipboard() { QGuiApplication::clipboard()->clear(); }

bool DesktopPlatform::SetClipboardText(const QString& text, bool rich)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    QMimeData* data = routes_.fetch ? routes_.fetch->NewClipboardData() : new QMimeData;
    FillClipboardData(*data, text, rich);
    clipboard->setMimeData(data);
    clipboardSet_ = Clock::now();
    // Qt only warns when another program keeps the clipboard; reading it back tells.
    return clipboard->text() == text;
}

void DesktopPlatform::HideMainWindow()
{
    ServeEventsUntil([&] { return Clock::now() - clipboardSet_ >= routes_.clipboardHandOver; });
    main_.hide();
}

void DesktopPlatform::ShowMainWindow()
{
    route_ = nullptr;
    main_.show();
    main_.raise();
    main_.activateWindow();
}

void DesktopPlatform::WaitTenth()
{
    const auto start = Clock::now();
    ServeEventsUntil([&] { return TenthIsOver(Clock::now() - start); });
}

bool DesktopPlatform::ChooseKeyRoute()
{
    route_ = nullptr;
    if (!routes_.fetch)
        return false; // a paste nobody can confirm would press Space and Alt+S blindly
    for (const auto& route : routes_.keys) {
        if (route->ReachesPreviousWindow()) {
            route_ = route.get();
            return true;
        }
    }
    return false;
}

void DesktopPlatform::PressPaste()
{
    if (route_ == nullptr)
        return;
    routes_.fetch->Start();
    route_->PressPaste();
    pasteKeys_ = Clock::now();
}

bool DesktopPlatform::WaitForPasteFetched()
{
    if (route_ == nullptr)
        return false;
    const PasteFetchWatch& fetch = *routes_.fetch;
    ServeEventsUntil(
        [&] { return FetchWaitIsOver(fetch.DataRequests(), fetch.SinceLastRequest(), Clock::now() - pasteKeys_); });
    return fetch.DataRequests() > 0;
}

void DesktopPlatform::Press(Keystroke key)
{
    if (route_ != nullptr)
        route_->Press(key);
}

void DesktopPlatform::FollowTarget()
{
    field_.reset();
    if (routes_.target)
        routes_.target->Follow();
}

void DesktopPlatform::StopFollowingTarget()
{
    field_.reset();
    if (routes_.target)
        routes_.target->StopFollowing();
}

std::optional<TargetField> DesktopPlatform::SeeTarget()
{
    field_.reset();
    if (route_ == nullptr || !routes_.target)
        return std::nullopt;
    TargetView& view = *routes_.target;
    // A window that takes the focus back says so object by object (its window, then the
    // field): the focus counts once it stays put for a moment.
    const auto start = Clock::now();
    std::optional<FocusedObject> last = view.Focus();
    auto lastChange = Clock::now();
    ServeEventsUntil([&] {
        const auto now = Clock::now();
        const std::optional<FocusedObject> focus = view.Focus();
        if (focus.has_value() != last.has_value() || (focus && focus->id != last->id)) {
            last = focus;
            lastChange = now;
        }
        return (last && now - lastChange >= kFocusQuiet) || now - start >= kFocusLimit;
    });
    field_ = view.Focus();
    if (!field_)
        return std::nullopt;
    windowsBefore_ = view.WindowsOpened();
    return TargetField{*field_, view.TextOf(field_->id).value_or(QString())};
}

// Reads the field again only after the target reported a text change.
class DesktopPlatform::FieldReader {
public:
    FieldReader(TargetView& view, std::uint64_t field) : view_(view), field_(field) {}

    // The field's text if it changed since the last call.
    std::optional<QString> Changed()
    {
        const int changes = view_.TextChanges();
        if (changes == seen_)
            return std::nullopt;
        seen_ = changes;
        return view_.TextOf(field_);
    }

private:
    TargetView& view_;
    std::uint64_t field_;
    int seen_ = -1;
};

bool DesktopPlatform::WaitUntilFieldHolds(const OutgoingMessage& message)
{
    if (!field_ || !routes_.target)
        return false;
    FieldReader reader(*routes_.target, field_->id);
    const PasteFetchWatch& fetch = *routes_.fetch;
    bool holds = false;
    ServeEventsUntil([&] {
        if (const auto text = reader.Changed())
            holds = FieldHolds(*text, message);
        const auto since = Clock::now() - pasteKeys_;
        const bool nothingFetched = fetch.DataRequests() == 0 && since >= kFetchLimit;
        return holds || nothingFetched || since >= kFieldLimit;
    });
    return holds;
}

AfterSendKey DesktopPlatform::WaitAfterSendKey(const OutgoingMessage& message)
{
    if (!field_ || !routes_.target)
        return AfterSendKey::StillThere;
    TargetView& view = *routes_.target;
    FieldReader reader(view, field_->id);
    const auto start = Clock::now();
    bool sent = false;
    std::optional<Clock::time_point> focusLeft;
    ServeEventsUntil([&] {
        if (const auto text = reader.Changed())
            sent = !FieldHolds(*text, message);
        const auto now = Clock::now();
        const std::optional<FocusedObject> focus = view.Focus();
        if (!focusLeft && focus && focus->id != field_->id)
            focusLeft = now;
        return sent || (focusLeft && now - *focusLeft >= kSendAfterFocusLeft) || now - start >= kSendLimit;
    });
    if (sent)
        return AfterSendKey::Sent;
    if (!focusLeft)
        return AfterSendKey::StillThere;
    CloseWhatTheKeyOpened();
    return AfterSendKey::Misfired;
}

void DesktopPlatform::CloseWhatTheKeyOpened()
{
    TargetView& view = *routes_.target;
    for (int i = 0; i < kMaxEscapes; ++i) {
        const std::optional<FocusedObject> focus = view.Focus();
        if (!focus || focus->id == field_->id || focus->program != field_->program)
            return;
        // Only what the key opened: a menu, or a window that appeared since the field was seen.
        if (!focus->inMenu && view.WindowsOpened() == windowsBefore_)
            return;
        route_->Press(Keystroke::Escape);
        const auto pressed = Clock::now();
        ServeEventsUntil([&] {
            const std::optional<FocusedObject> now = view.Focus();
            return !now || now->id != focus->id || Clock::now() - pressed >= kEscapeLimit;
        });
    }
}

} // namespace ombrix::app
