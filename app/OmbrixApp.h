// The program's windows and the start-up sequence that brings them up.
#pragma once

#include "app/ControlsBinding.h"
#include "app/DeliveryPlatform.h"
#include "app/MessageSender.h"
#include "app/WindowManager.h"
#include "ui/AppLink.h"
#include "ui/SendKeyChoice.h"
#include "ui/frmOmbrix.h"
#include "ui/frmOptions.h"
#include "ui/frmSetColor.h"

#include <filesystem>
#include <memory>

namespace ombrix::app {

class OmbrixApp final : public ui::AppLink {
    // Declared before the windows so that it outlives them: they reach it to the end.
    std::unique_ptr<WindowManager> windowManager_;

public:
    // Brings up the windows hidden: the colour dialog with its previews refreshed, then
    // the options dialog and the main window. Send uses the given platform, and the
    // windows the given window manager; the real desktop's where none is given.
    explicit OmbrixApp(std::filesystem::path settingsPath, std::unique_ptr<DeliveryPlatform> platform = nullptr,
                       std::unique_ptr<WindowManager> windowManager = nullptr);
    ~OmbrixApp() override;
    OmbrixApp(const OmbrixApp&) = delete;
    OmbrixApp& operator=(const OmbrixApp&) = delete;

    // Loads the settings into the controls, shows the main window and applies Always On Top.
    void Start();

    // Raises and activates the main window; flag asks for the topmost band, which an
    // Always On Top value of 0 never gives and any other value allows.
    void SetOnTop(bool flag) override;
    void RegenerateOutput() override { main->txtIn_Change(); }
    void SaveSettings() override;

    std::unique_ptr<ui::frmSetColor> setColor;
    std::unique_ptr<ui::frmOptions> options;
    std::unique_ptr<ui::frmOmbrix> main;
    std::unique_ptr<ControlsBinding> controls;

private:
    bool Deliver(const QString& html);

    std::filesystem::path settingsPath_;
    ui::UserSendKeys sendKeys_;
    std::unique_ptr<DeliveryPlatform> platform_;
    std::unique_ptr<MessageSender> sender_;
};

// The entry point's work: the whole start-up, in order.
void Main(OmbrixApp& app);

} // namespace ombrix::app
