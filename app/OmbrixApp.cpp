#include "app/OmbrixApp.h"

#include "app/DesktopPlatform.h"
#include "settings/Settings.h"
#include "ui/OutputFormatChoice.h"
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

OmbrixApp::OmbrixApp(std::filesystem::path settingsPath, std::unique_ptr<DeliveryPlatform> platform,
                     std::unique_ptr<WindowManager> windowManager)
    : windowManager_(windowManager ? std::move(windowManager) : OpenWindowManager()),
      settingsPath_(std::move(settingsPath)), platform_(std::move(platform))
{
    layer::FixedDialog::SetFrameRequest([wm = windowManager_.get()](QWidget& dialog, bool titleBar) {
        wm->RequestFixedFrame(dialog, titleBar ? FixedFrame::Dialog : FixedFrame::Untitled);
    });
    setColor = std::make_unique<ui::frmSetColor>(*this);
    for (int i = 0; i < modOmbrix::kSlotCount; ++i)
        setColor->UpdateColor(i);
    options = std::make_unique<ui::frmOptions>(*this);
    main = std::make_unique<ui::frmOmbrix>(*setColor, *options, *this);
    windowManager_->KeepFixedFrame(*main, FixedFrame::MainWindow);
    controls = std::make_unique<ControlsBinding>(*setColor, *options, *main);
    if (!platform_)
        platform_ = std::make_unique<DesktopPlatform>(*main);
    sender_ = std::make_unique<MessageSender>(*platform_, sendKeys_);
    main->preview->AddContextMenuExtension([this](QMenu& menu) { ui::AddSendKeyMenu(menu, sendKeys_); });
    main->SetDelivery([this](const QString& html) { return Deliver(html); });
}

// The dialogs' frame requests go to this app's window manager, which ends with it.
OmbrixApp::~OmbrixApp() { layer::FixedDialog::SetFrameRequest(nullptr); }

bool OmbrixApp::Deliver(const QString& html)
{
    return MessageHandedOver(sender_->Send(modOmbrix::GetSendMode(*controls),
                                           {html, main->txtIn->Text(), ui::IsHtmlFormat(main->Format())}));
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
    windowManager_->ReturnModalDialogsWithMainWindow(*main);
    SetOnTop(true);
}

void OmbrixApp::SetOnTop(bool flag)
{
    windowManager_->SetAbove(*main, flag && options->chkOnTop->Value() != 0);
    if (main->isVisible()) {
        main->raise();
        main->activateWindow();
    }
}

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
