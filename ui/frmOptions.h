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

    layer::Frame* Frame2;
    layer::CheckBox* chkOnTop;
    layer::Frame* Frame1;
    layer::CheckBox* chkFontTags;
    layer::CheckBox* chkFinalFontTag;
    layer::Frame* fraSendTo;
    layer::OptionButtons optSend2;
    layer::CommandButton* cmdOK;

private:
    void chkFontTags_Click();
    void cmdOK_Click();

    AppLink& app_;
};

} // namespace ombrix::ui
