// The about box: title, version, icon, a credit line and a web address. Created for
// each showing and destroyed when closed, centred over the main window.
#pragma once

#include "ui/layer/Controls.h"
#include "ui/layer/FixedDialog.h"

#include <QUrl>

#include <functional>

namespace ombrix::ui {

class frmOmbrix;

class frmAbout final : public layer::FixedDialog {
public:
    static const QUrl kWebAddress;

    explicit frmAbout(frmOmbrix& main);

    // How the web address is opened (the desktop's default handler); tests replace it,
    // and an empty function puts the default back.
    static void SetUrlOpener(std::function<void(const QUrl&)> opener);

    layer::Label* Label1 = nullptr;
    layer::Label* Label2 = nullptr;
    QLabel* Image1 = nullptr;
    layer::Frame* fraTheFrame = nullptr;
    layer::Label* Label3 = nullptr;
    layer::Label* lblUrl = nullptr;
    layer::CommandButton* cmdOk = nullptr;

private:
    void Form_Load(frmOmbrix& main);
    void cmdOk_Click() { hide(); }
    void lblUrl_Click();
};

} // namespace ombrix::ui
