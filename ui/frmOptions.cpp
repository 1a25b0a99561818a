#include "ui/frmOptions.h"

#include "ui/layer/Twips.h"

#include <QGuiApplication>

namespace ombrix::ui {
frmOptions::frmOptions(AppLink& app)
    : FixedDialog(QStringLiteral("Options"), 2805, 3180, layer::kDialogBorders), app_(app)
{
    setObjectName(QStringLiteral("frmOptions"));
    Frame2 = layer::Designed(new layer::Frame(QStringLiteral("Window"), this), QStringLiteral("Frame2"), QString(),
                             {120, 0, 2535, 615});
    chkOnTop = layer::Designed(new layer::CheckBox(QStringLiteral("Always On Top"), Frame2), QStringLiteral("chkOnTop"),
                               QStringLiteral("Keep this window on top."), {120, 240, 2175, 255});
    chkOnTop->SetValue(1);
    // A Wayland client cannot ask to stay above other windows; the setting is kept for X11.
    if (QGuiApplication::platformName() == QLatin1String("wayland"))
        chkOnTop->setToolTip(chkOnTop->toolTip() +
                             QStringLiteral(" (Has no effect on this Wayland desktop: programs cannot ask to "
                                            "stay on top there.)"));

    Frame1 = layer::Designed(new layer::Frame(QStringLiteral("HTML"), this), QStringLiteral("Frame1"), QString(),
                             {120, 720, 2535, 855});
    chkFontTags = layer::Designed(
        new layer::CheckBox(QStringLiteral("Use </FONT> Ending Tags"), Frame1), QStringLiteral("chkFontTags"),
        QStringLiteral("This option is recommended for webpages, but not AIM."), {120, 240, 2295, 255});
    chkFinalFontTag = layer::Designed(
        new layer::CheckBox(QStringLiteral("Use Final </FONT> Tag"), Frame1), QStringLiteral("chkFinalFontTag"),
        QStringLiteral("In AIM, this resets the text to the defaults after faded text is used."),
        {120, 510, 2175, 195});
    chkFontTags->OnClick([this] { chkFontTags_Click(); });

    fraSendTo = layer::Designed(new layer::Frame(QStringLiteral("Send To"), this), QStringLiteral("fraSendTo"),
                                QString(), {120, 1680, 2535, 855});
    layer::Designed(&optSend2.Add(QStringLiteral("Previously Active Window"), fraSendTo), QStringLiteral("optSend2_0"),
                    QStringLiteral("Send Text to the Window that was Previously Active"), {120, 240, 2295, 195});
    layer::Designed(&optSend2.Add(QStringLiteral("Copy to Clipboard"), fraSendTo), QStringLiteral("optSend2_1"),
                    QStringLiteral("Copy HTML to Clipboard"), {120, 480, 2175, 195});
    optSend2.Select(0);

    cmdOK = layer::Designed(new layer::CommandButton(QStringLiteral("OK"), this), QStringLiteral("cmdOK"),
                            QStringLiteral("Save Settings"), {120, 2640, 2535, 375});
    cmdOK->setDefault(true);
    cmdOK->OnClick([this] { cmdOK_Click(); });

    // Focus order: OK, ending tags, the send-mode group, Always On Top, final tag.
    setTabOrder(cmdOK, chkFontTags);
    setTabOrder(chkFontTags, &optSend2(1));
    setTabOrder(&optSend2(1), &optSend2(0));
    setTabOrder(&optSend2(0), chkOnTop);
    setTabOrder(chkOnTop, chkFinalFontTag);
    SetFirstControl(cmdOK);
}

void frmOptions::chkFontTags_Click() { chkFinalFontTag->setEnabled(chkFontTags->Value() != 1); }

void frmOptions::cmdOK_Click()
{
    app_.SetOnTop(true);
    app_.SaveSettings();
    hide();
}

} // namespace ombrix::ui
