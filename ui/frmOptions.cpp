#include "ui/frmOptions.h"

#include "ui/layer/Twips.h"

namespace ombrix::ui {
frmOptions::frmOptions(AppLink& app) : FixedDialog(QStringLiteral("Options"), 2805, 3180, layer::kDialogBorders), app_(app)
{
    setObjectName(QStringLiteral("frmOptions"));
    Frame2 = layer::Designed(new layer::Frame(QStringLiteral("Window"), this), "Frame2", "", 120, 0, 2535, 615);
    chkOnTop = layer::Designed(new layer::CheckBox(QStringLiteral("Always On Top"), Frame2), "chkOnTop",
                     "Keep this window on top.", 120, 240, 2175, 255);
    chkOnTop->SetValue(1);

    Frame1 = layer::Designed(new layer::Frame(QStringLiteral("HTML"), this), "Frame1", "", 120, 720, 2535, 855);
    chkFontTags = layer::Designed(new layer::CheckBox(QStringLiteral("Use </FONT> Ending Tags"), Frame1), "chkFontTags",
                        "This option is recommended for webpages, but not AIM.", 120, 240, 2295, 255);
    chkFinalFontTag =
        layer::Designed(new layer::CheckBox(QStringLiteral("Use Final </FONT> Tag"), Frame1), "chkFinalFontTag",
              "In AIM, this resets the text to the defaults after faded text is used.", 120, 510, 2175, 195);
    chkFontTags->OnClick([this] { chkFontTags_Click(); });

    fraSendTo = layer::Designed(new layer::Frame(QStringLiteral("Send To"), this), "fraSendTo", "", 120, 1680, 2535, 855);
    layer::Designed(&optSend2.Add(QStringLiteral("Previously Active Window"), fraSendTo), "optSend2_0",
          "Send Text to the Window that was Previously Active", 120, 240, 2295, 195);
    layer::Designed(&optSend2.Add(QStringLiteral("Copy to Clipboard"), fraSendTo), "optSend2_1", "Copy HTML to Clipboard", 120,
          480, 2175, 195);
    optSend2.Select(0);

    cmdOK = layer::Designed(new layer::CommandButton(QStringLiteral("OK"), this), "cmdOK", "Save Settings", 120, 2640, 2535, 375);
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
