// The options dialog: tag options, send mode and Always On Top. Its controls are the
// only storage of these settings.
#pragma once

#include "engine/ColourTable.h"
#include "ui/AppLink.h"
#include "ui/layer/Controls.h"
#include "ui/layer/FixedDialog.h"

namespace ombrix::ui {

class frmOptions final : public layer::FixedDialog, public modOmbrix::TagOptions {
public:
    explicit frmOptions(AppLink& app);

    std::int16_t FontTagsValue() const override { return chkFontTags->Value(); }
    std::int16_t FinalFontTagValue() const override { return chkFinalFontTag->Value(); }

    layer::Frame* Frame2 = nullptr;
    layer::CheckBox* chkOnTop = nullptr;
    layer::Frame* Frame1 = nullptr;
    layer::CheckBox* chkFontTags = nullptr;
    layer::CheckBox* chkFinalFontTag = nullptr;
    layer::Frame* fraSendTo = nullptr;
    layer::OptionButtons optSend2;
    layer::CommandButton* cmdOK = nullptr;

private:
    void chkFontTags_Click();
    void cmdOK_Click();

    AppLink& app_;
};

} // namespace ombrix::ui
