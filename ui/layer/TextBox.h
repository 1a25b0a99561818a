// A multi-line text box whose text uses CR LF line breaks, holds at most MaxLength
// characters counted that way, and presses its window's default button on Enter.
#pragma once

#include "ui/layer/Controls.h"

#include <QPlainTextEdit>

namespace ombrix::layer {

class TextBox final : public QPlainTextEdit {
public:
    TextBox(int maxLength, QWidget* parent);

    // The text with CR LF line breaks. A no-break space stays a no-break space.
    QString Text() const;
    void SetText(const QString& text);
    // Length of Text() without building it.
    int Length() const;
    int MaxLength() const { return maxLength_; }

    // Enter presses this button while it is enabled; otherwise it breaks the line.
    void SetDefaultButton(QPushButton* button) { defaultButton_ = button; }
    // Runs on every change of the text, typed, pasted or set by code.
    void OnChange(Handler handler);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    void InsertLimited(QString text);

    int maxLength_;
    QPushButton* defaultButton_ = nullptr;
};

} // namespace ombrix::layer
