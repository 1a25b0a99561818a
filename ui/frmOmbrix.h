// The main window: the message box, the live length of its HTML, Send, and the
// collapsible settings pane with the buttons that open the dialogs.
#pragma once

#include "engine/Fade.h"
#include "ui/AppLink.h"
#include "ui/FadePreview.h"
#include "ui/layer/Controls.h"
#include "ui/layer/FormGeometry.h"
#include "ui/layer/GapLabel.h"
#include "ui/layer/TextBox.h"
#include "ui/layer/TriangleButton.h"

#include <QWidget>

class QMenu;

#include <functional>
#include <optional>

namespace ombrix::ui {

class frmSetColor;
class frmOptions;

class frmOmbrix final : public QWidget {
public:
    frmOmbrix(frmSetColor& colours, frmOptions& options, AppLink& app);

    // Regenerates strOutput and the count, and enables Send for a non-empty box.
    void txtIn_Change();
    // Collapses or expands the settings pane.
    void cmdInOut_Click();

    const QString& Output() const { return strOutput; }
    // What strOutput is written as; a change is kept for the next run and regenerates it.
    modOmbrix::OutputFormat Format() const { return format_; }
    void SetFormat(modOmbrix::OutputFormat format);
    layer::FormGeometry& Geometry() { return geometry_; }
    // What Send does with strOutput. It returns whether the message went anywhere: only
    // then is the box emptied, so a message that could not be sent is not lost.
    void SetDelivery(std::function<bool(const QString& html)> deliver) { deliver_ = std::move(deliver); }

    layer::Frame* fraMsg = nullptr;
    layer::TextBox* txtIn = nullptr;
    layer::CommandButton* cmdSend = nullptr;
    layer::Frame* fraSettings = nullptr;
    layer::CommandButton* cmdSetColor = nullptr;
    layer::CommandButton* cmdOptions = nullptr;
    layer::CommandButton* cmdAbout = nullptr;
    layer::TriangleButton* cmdInOut = nullptr;
    layer::Label* lblCharCount = nullptr;
    layer::GapLabel* lblOutMsg = nullptr;
    FadePreview* preview = nullptr; // the message in its colours, owned by txtIn

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void cmdSend_Click();
    void cmdSetColor_Click();
    void cmdOptions_Click();
    void cmdAbout_Click();
    void Form_QueryUnload();
    void ShowTooLong(std::int32_t colours, std::int32_t limit);
    void ShowFormat();
    void AddFormatMenu(QMenu& menu);

    frmSetColor& colours_;
    frmOptions& options_;
    AppLink& app_;
    layer::FormGeometry geometry_;
    std::function<bool(const QString&)> deliver_;
    QString strOutput;
    std::optional<float> varFullWidth;
    modOmbrix::OutputFormat format_ = modOmbrix::OutputFormat::Html;
};

} // namespace ombrix::ui
