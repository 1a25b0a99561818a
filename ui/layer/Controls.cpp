#include "ui/layer/Controls.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionSlider>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>

namespace ombrix::layer {
namespace {

[[noreturn]] void Reject(const char* control, long long value)
{
    throw std::out_of_range(std::string("invalid value for ") + control + ": " + std::to_string(value));
}

} // namespace

QWidget* FirstTabStop(const QWidget& container)
{
    QWidget* window = container.window();
    const auto isStop = [window](const QWidget* w) {
        return (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && w->isEnabled() && w->isVisibleTo(window);
    };
    const auto inside = [&](const QWidget* w) { return &container == window || container.isAncestorOf(w); };
    // Tab order is a cycle: the first control of a container is the one Tab reaches from
    // a control outside it. Where all of them are inside, the cycle starts at the window.
    QWidget* first = nullptr;
    for (QWidget* w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain()) {
        if (!inside(w) || !isStop(w))
            continue;
        if (!first)
            first = w;
        QWidget* previous = w->previousInFocusChain();
        while (previous != w && !isStop(previous))
            previous = previous->previousInFocusChain();
        if (!inside(previous))
            return w;
    }
    return first;
}

bool PressOnEnter(QPushButton& button, QKeyEvent* event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    event->accept();
    if (button.isEnabled())
        button.click();
    return true;
}

CommandButton::CommandButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent)
{
    setAutoDefault(false);
}

void CommandButton::OnClick(Handler handler) { connect(this, &QPushButton::clicked, this, std::move(handler)); }

void CommandButton::SetValue(bool pressed)
{
    if (pressed)
        click();
}

void CommandButton::keyPressEvent(QKeyEvent* event)
{
    if (!PressOnEnter(*this, event))
        QPushButton::keyPressEvent(event);
}

Label::Label(const QString& caption, QWidget* parent) : QLabel(caption, parent) {}

void Label::SetBackColor(QColor colour)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, colour);
    setPalette(p);
    setAutoFillBackground(colour.isValid());
}

void Label::SetForeColor(QColor colour)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, colour);
    setPalette(p);
}

void Label::SetSingleBorder()
{
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Plain);
    setLineWidth(1);
}

void Label::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (click_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        click_();
}

Frame::Frame(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}

int Frame::BorderTop() const { return fontMetrics().height() / 2; }

QWidget* Frame::FirstControl() const { return FirstTabStop(*this); }

bool Frame::event(QEvent* event)
{
    // QGroupBox gives its access key to the control that last had the focus in it; the
    // user expects the first one.
    if (event->type() == QEvent::Shortcut && !isCheckable()) {
        if (QWidget* first = FirstControl())
            first->setFocus(Qt::ShortcutFocusReason);
        return true;
    }
    return QGroupBox::event(event);
}

void Frame::paintEvent(QPaintEvent*)
{
    // An etched box whose top line runs through the middle of the caption, the caption
    // drawn on a gap in that line.
    QPainter painter(this);
    const QRect box = rect().adjusted(0, BorderTop(), -2, -2);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(box);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(box.translated(1, 1));
    if (title().isEmpty())
        return;
    const int indent = fontMetrics().averageCharWidth();
    const int gap = fontMetrics().averageCharWidth() / 3 + 1;
    const QRect caption =
        style()->itemTextRect(fontMetrics(), QRect(indent + gap, 0, width(), fontMetrics().height()),
                              Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic, isEnabled(), title());
    painter.fillRect(caption.adjusted(-gap, 0, gap, 0), palette().color(QPalette::Window));
    int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic;
    if (!style()->styleHint(QStyle::SH_UnderlineShortcut, nullptr, this))
        flags |= Qt::TextHideMnemonic;
    style()->drawItemText(&painter, caption, flags, palette(), isEnabled(), title(), QPalette::WindowText);
}

CheckBox::CheckBox(const QString& caption, QWidget* parent) : QCheckBox(caption, parent) {}

std::int16_t CheckBox::Value() const
{
    switch (checkState()) {
    case Qt::Unchecked: return 0;
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    }
    return 0;
}

void CheckBox::SetValue(std::int16_t value)
{
    switch (value) {
    case 0: setCheckState(Qt::Unchecked); break;
    case 1: setCheckState(Qt::Checked); break;
    case 2: setCheckState(Qt::PartiallyChecked); break;
    default: Reject("check box", value);
    }
}

void CheckBox::OnClick(Handler handler) { connect(this, &QCheckBox::stateChanged, this, std::move(handler)); }

void CheckBox::nextCheckState() { setCheckState(checkState() == Qt::Unchecked ? Qt::Checked : Qt::Unchecked); }

QRadioButton& OptionButtons::Add(const QString& caption, QWidget* frame)
{
    auto* button = new QRadioButton(caption, frame);
    buttons_.push_back(button);
    QObject::connect(button, &QRadioButton::toggled, button, [this] { UpdateTabStops(); });
    UpdateTabStops();
    return *button;
}

QRadioButton& OptionButtons::operator()(int index) const
{
    if (index < 0 || index >= Count())
        Reject("option button index", index);
    return *buttons_[static_cast<std::size_t>(index)];
}

void OptionButtons::UpdateTabStops()
{
    const bool anySelected = std::any_of(buttons_.begin(), buttons_.end(), [](auto* b) { return b->isChecked(); });
    for (QRadioButton* b : buttons_)
        b->setFocusPolicy(!anySelected || b->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}

void OptionButtons::Select(int index) { (*this)(index).setChecked(true); }

void OptionButtons::ClearAll()
{
    for (QRadioButton* b : buttons_) {
        b->setAutoExclusive(false);
        b->setChecked(false);
        b->setAutoExclusive(true);
    }
}

HScrollBar::HScrollBar(int min, int max, QWidget* parent) : QScrollBar(Qt::Horizontal, parent)
{
    setFocusPolicy(Qt::StrongFocus); // a tab stop, moved with the arrow keys
    setRange(min, max);
    setSingleStep(1);
    setPageStep(1);
}

void HScrollBar::keyPressEvent(QKeyEvent* event)
{
    // QScrollBar inverts its key controls for the sake of vertical bars, which turns
    // Left and Right around on a horizontal one.
    const bool forward = (event->key() == Qt::Key_Right) != isRightToLeft();
    if (event->key() == Qt::Key_Right || event->key() == Qt::Key_Left) {
        triggerAction(forward ? SliderSingleStepAdd : SliderSingleStepSub);
        event->accept();
        return;
    }
    QScrollBar::keyPressEvent(event);
}

void HScrollBar::paintEvent(QPaintEvent* event)
{
    QScrollBar::paintEvent(event);
    if (!hasFocus())
        return;
    // The style draws no focus on a scroll bar; mark the thumb so a keyboard user sees it.
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect thumb = style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
    QPainter painter(this);
    QPen pen(palette().color(QPalette::Highlight));
    pen.setWidth(2);
    painter.setPen(pen);
    painter.drawRect(thumb.adjusted(1, 1, -1, -1));
}

void HScrollBar::SetValue(int value)
{
    if (value < minimum() || value > maximum())
        Reject("scroll bar", value);
    setValue(value);
}

void HScrollBar::OnScroll(Handler handler)
{
    // sliderMoved comes before the value follows the thumb; the value change does not.
    connect(this, &QScrollBar::valueChanged, this, [this, handler] {
        if (isSliderDown())
            handler();
    });
}

void HScrollBar::OnChange(Handler handler)
{
    // While the thumb is dragged the value moves with it; that is Scroll, and Change
    // follows once, at the release, if the drag ended on another value.
    auto atPress = std::make_shared<int>(0);
    connect(this, &QScrollBar::sliderPressed, this, [this, atPress] { *atPress = value(); });
    connect(this, &QScrollBar::valueChanged, this, [this, handler] {
        if (!isSliderDown())
            handler();
    });
    connect(this, &QScrollBar::sliderReleased, this, [this, atPress, handler] {
        if (value() != *atPress)
            handler();
    });
}

Slider::Slider(int min, int max, QWidget* parent) : QSlider(Qt::Horizontal, parent)
{
    setRange(min, max);
    setSingleStep(1);
    setPageStep(1);
    setTickInterval(1);
    setTickPosition(QSlider::TicksBelow);
}

void Slider::SetValue(std::int32_t value)
{
    if (value < minimum() || value > maximum())
        Reject("slider", value);
    const QSignalBlocker silent(this);
    setValue(value);
}

void Slider::OnScroll(Handler handler) { connect(this, &QSlider::valueChanged, this, std::move(handler)); }

} // namespace ombrix::layer
