#include "ui/layer/Controls.h"

#include <QMouseEvent>

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
    buttons_.push_back(new QRadioButton(caption, frame));
    return *buttons_.back();
}

QRadioButton& OptionButtons::operator()(int index) const
{
    if (index < 0 || index >= Count())
        Reject("option button index", index);
    return *buttons_[static_cast<std::size_t>(index)];
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
