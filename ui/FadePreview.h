// Draws each character of the message box in the colour the HTML gives it. The colours
// are extra selections over the text: the document, its undo history and the change
// handler never see them, and the background, the caret and the user's selection stay
// as they are. The box's context menu switches them off and on.
#pragma once

#include "engine/ColourTable.h"
#include "engine/Fade.h"
#include "ui/layer/TextBox.h"

#include <QObject>

#include <functional>
#include <vector>

class QAction;
class QMenu;

namespace ombrix::ui {

class FadePreview final : public QObject {
public:
    // Starts with the user's saved choice. The colour table is read at each Show.
    FadePreview(layer::TextBox& box, const modOmbrix::ColourTable& colours);

    bool IsOn() const { return on_; }
    // Saves the choice; a failure to save is reported, the choice holds for this run.
    void SetOn(bool on);

    // Colours the box's text (as TextBox::Text gives it) from its font tags. Throws
    // TextTooLongError where the generator would.
    void Show(const QString& text);
    // The same with the tags already found for the text (the change handler has them).
    void Show(const QString& text, const std::vector<modOmbrix::ColourChange>& tags);
    // Leaves the text uncoloured.
    void Clear();

    // The box's standard menu with the entry that switches the colours, and whatever the
    // extensions add, in the order they were added; the caller owns it.
    QMenu* CreateContextMenu();
    void AddContextMenuExtension(std::function<void(QMenu&)> extension) { extensions_.push_back(std::move(extension)); }

private:
    layer::TextBox& box_;
    const modOmbrix::ColourTable& colours_;
    bool on_ = true;
    std::vector<std::function<void(QMenu&)>> extensions_;
};

} // namespace ombrix::ui
