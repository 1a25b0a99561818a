#include "app/DesktopPlatform.h"

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

bool DesktopPlatform::SetClipboardText(const QString& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    QMimeData* data = routes_.fetch ? routes_.fetch->NewClipboardData() : new QMimeData;
    data->setText(text);
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

void DesktopPlatform::PressSpaceAndSend()
{
    if (route_ != nullptr)
        route_->PressSpaceAndSend();
}

} // namespace ombrix::app
