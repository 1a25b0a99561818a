#include "ui/layer/TextBox.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextDocument>

namespace ombrix::layer {
namespace {

constexpr QChar kParagraph(0x2029);
constexpr QChar kLineSeparator(0x2028);

// Any line break the user can paste becomes one break of the editor.
QString ToEditorBreaks(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(kLineSeparator, QLatin1Char('\n'));
    text.replace(kParagraph, QLatin1Char('\n'));
    return text;
}

// Characters the text takes once each break counts as CR LF.
int CrLfLength(const QString& editorText) { return static_cast<int>(editorText.size() + editorText.count('\n')); }

// The longest start of text that takes at most room characters, never ending inside a
// surrogate pair.
QString PrefixThatFits(const QString& text, int room)
{
    qsizetype cost = 0;
    qsizetype end = 0;
    for (; end < text.size(); ++end) {
        cost += text[end] == QLatin1Char('\n') ? 2 : 1;
        if (cost > room)
            break;
    }
    if (end < text.size() && end > 0 && text[end - 1].isHighSurrogate())
        --end;
    return text.left(end);
}

} // namespace

TextBox::TextBox(int maxLength, QWidget* parent) : QPlainTextEdit(parent), maxLength_(maxLength)
{
    setTabChangesFocus(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

QString TextBox::Text() const
{
    // toPlainText() would turn a no-break space into a space; the raw text keeps it.
    QString text = document()->toRawText();
    text.replace(kLineSeparator, kParagraph);
    text.replace(kParagraph, QStringLiteral("\r\n"));
    return text;
}

void TextBox::SetText(const QString& text) { setPlainText(PrefixThatFits(ToEditorBreaks(text), maxLength_)); }

int TextBox::Length() const
{
    const QTextDocument* doc = document();
    // characterCount() includes the final paragraph mark; every other block end is one
    // break, which counts twice.
    return doc->characterCount() - 1 + (doc->blockCount() - 1);
}

void TextBox::OnChange(Handler handler) { connect(this, &QPlainTextEdit::textChanged, this, std::move(handler)); }

void TextBox::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter) {
        const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
        if (!ctrl && defaultButton_ && defaultButton_->isEnabled()) {
            defaultButton_->click();
            return;
        }
        InsertLimited(QStringLiteral("\n"));
        return;
    }
    // The desktops' keyboard way to the context menu; Qt itself only knows the menu key.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, cursorRect().center(),
                               viewport()->mapToGlobal(cursorRect().center()));
        if (contextMenuPolicy() == Qt::CustomContextMenu)
            emit customContextMenuRequested(cursorRect().center());
        else
            contextMenuEvent(&menu);
        return;
    }
    if (!event->text().isEmpty() && event->text().at(0).isPrint() &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        InsertLimited(event->text());
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TextBox::insertFromMimeData(const QMimeData* source)
{
    if (source && source->hasText())
        InsertLimited(ToEditorBreaks(source->text()));
}

void TextBox::InsertLimited(QString text)
{
    QTextCursor cursor = textCursor();
    const QString selected = ToEditorBreaks(cursor.selectedText());
    const int room = maxLength_ - (Length() - CrLfLength(selected));
    text = PrefixThatFits(text, room);
    if (text.isEmpty() && !cursor.hasSelection())
        return;
    cursor.insertText(text);
    setTextCursor(cursor);
    ensureCursorVisible();
}

} // namespace ombrix::layer
