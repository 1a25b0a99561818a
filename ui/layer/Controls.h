// Controls with the event behaviour the windows rely on: a handler per event, values
// checked on assignment (an out-of-range value throws std::out_of_range to the caller,
// which the settings loader's recovery depends on).
#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>

#include <cstdint>
#include <functional>
#include <vector>

namespace ombrix::layer {

using Handler = std::function<void()>;

class CommandButton final : public QPushButton {
public:
    CommandButton(const QString& caption, QWidget* parent);
    // Click runs on a press by mouse, keyboard, access key or SetValue(true).
    void OnClick(Handler handler);
    void SetValue(bool pressed);
};

class Label final : public QLabel {
public:
    Label(const QString& caption, QWidget* parent);
    void SetBackColor(QColor colour); // an invalid colour makes the label transparent
    void SetForeColor(QColor colour);
    void SetSingleBorder();
    void OnClick(Handler handler) { click_ = std::move(handler); }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Handler click_;
};

// A frame: "&" in its caption moves the focus to its first control.
class Frame final : public QGroupBox {
public:
    Frame(const QString& caption, QWidget* parent);
};

// Values 0 unchecked, 1 checked, 2 grey. Click runs whenever the value changes, by the
// user or by code.
class CheckBox final : public QCheckBox {
public:
    CheckBox(const QString& caption, QWidget* parent);
    std::int16_t Value() const;
    void SetValue(std::int16_t value);
    void OnClick(Handler handler);

protected:
    void nextCheckState() override; // a user click toggles between 0 and 1 only
};

// The option buttons of one frame, addressed by index; selecting one clears the others.
class OptionButtons {
public:
    QRadioButton& Add(const QString& caption, QWidget* frame);
    QRadioButton& operator()(int index) const; // throws for an index that does not exist
    int Count() const { return static_cast<int>(buttons_.size()); }
    bool Value(int index) const { return (*this)(index).isChecked(); }
    void Select(int index);
    void ClearAll(); // leaves no button selected, which only code can do

private:
    std::vector<QRadioButton*> buttons_;
};

class HScrollBar final : public QScrollBar {
public:
    HScrollBar(int min, int max, QWidget* parent);
    std::int16_t Value() const { return static_cast<std::int16_t>(value()); }
    // Runs Change when the value differs; throws outside Min..Max.
    void SetValue(int value);
    void OnScroll(Handler handler); // while the thumb is dragged
    void OnChange(Handler handler); // whenever the value changed, by the user or by code
};

// Scroll runs only while the user moves the slider; setting the value from code is silent.
class Slider final : public QSlider {
public:
    Slider(int min, int max, QWidget* parent);
    void SetValue(std::int32_t value); // throws outside Min..Max
    void OnScroll(Handler handler);
};

} // namespace ombrix::layer
