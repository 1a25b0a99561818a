#include "app/OmbrixApp.h"

#include "app/DesktopPlatform.h"
#include "app/Stacking.h"
#include "app/x11/WindowState.h"
#include "settings/Settings.h"
#include "ui/SendKeyMenu.h"
#include "ui/layer/MessageBox.h"

namespace ombrix::app {
namespace {

void WarnAboutSettings(const QString& what, const modOmbrix::SettingsFileError& error)
{
    layer::MessageBox::Warning(QStringLiteral("HTML Ombrix"),
                               what + QLatin1Char('\n') + QString::fromUtf8(error.what()));
}

} // namespace

OmbrixApp::OmbrixApp(std::filesystem::path settingsPath, std::unique_ptr<DeliveryPlatform> platform)
    : settingsPath_(std::move(settingsPath)), platform_(std::move(platform))
{
    layer::FixedDialog::SetFrameRequest([](QWidget& dialog, bool titleBar) {
        if (titleBar)
            x11::RequestFixedFrame(dialog, x11::FixedFrame::Dialog);
        else
            x11::RequestUntitledBorder(dialog);
    });
    setColor = std::make_unique<ui::frmSetColor>(*this);
    for (int i = 0; i < modOmbrix::kSlotCount; ++i)
        setColor->UpdateColor(i);
    options = std::make_unique<ui::frmOptions>(*this);
    main = std::make_unique<ui::frmOmbrix>(*setColor, *options, *this);
    x11::KeepFixedFrame(*main, x11::FixedFrame::MainWindow);
    controls = std::make_unique<ControlsBinding>(*setColor, *options, *main);
    if (!platform_)
        platform_ = std::make_unique<DesktopPlatform>(*main);
    sender_ = std::make_unique<MessageSender>(*platform_, sendKeys_);
    main->preview->ExtendContextMenu([this](QMenu& menu) { ui::AddSendKeyMenu(menu, sendKeys_); });
    main->SetDelivery([this](const QString& html) { return Deliver(html); });
}

bool OmbrixApp::Deliver(const QString& html)
{
    return MessageHandedOver(sender_->Send(modOmbrix::GetSendMode(*controls), {html, main->txtIn->Text()}));
}

void OmbrixApp::Start()
{
    try {
        modOmbrix::LoadSettings(*controls, settingsPath_);
    } catch (const modOmbrix::SettingsFileError& e) {
        // Go on with the settings as loaded so far; the user should know they may be lost.
        WarnAboutSettings(QStringLiteral("The settings could not be read or repaired."), e);
    }
    main->show();
    x11::ReturnModalDialogsWithMainWindow(*main);
    SetOnTop(true);
}

void OmbrixApp::SetOnTop(bool flag) { modOmbrix::SetOnTop(*main, options->chkOnTop->Value(), flag); }

void OmbrixApp::SaveSettings()
{
    try {
        modOmbrix::SaveSettings(*controls, settingsPath_);
    } catch (const modOmbrix::SettingsFileError& e) {
        // The save leaves the old file whole; the user should know the changes are not in it.
        WarnAboutSettings(QStringLiteral("The settings could not be saved."), e);
    }
}

} // namespace ombrix::app
