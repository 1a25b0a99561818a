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

// The first control inside container (a window or a control in it) that Tab stops at,
// in its window's tab order: the one Tab reaches from outside the container. nullptr
// when none is enabled and visible.
QWidget* FirstTabStop(const QWidget& container);

class CommandButton final : public QPushButton {
public:
    CommandButton(const QString& caption, QWidget* parent);
    // Click runs on a press by mouse, keyboard, access key or SetValue(true).
    void OnClick(Handler handler);
    void SetValue(bool pressed);

protected:
    void keyPressEvent(QKeyEvent* event) override; // Enter presses a focused button, as Space does
};

// Enter and Return press a focused push button, default or not.
bool PressOnEnter(QPushButton& button, QKeyEvent* event);

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

// A frame: "&" in its caption moves the focus to its first control in tab order (the
// selected one of an option-button group). The caption sits on the top border line and
// the controls inside the box below it.
class Frame final : public QGroupBox {
public:
    Frame(const QString& caption, QWidget* parent);
    // The y of the top border line: the vertical middle of the caption.
    int BorderTop() const;
    // The control its access key gives the focus to, or nullptr when none can take it.
    QWidget* FirstControl() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
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
// Tab stops only at the selected button (at every one while none is); the arrow keys
// move within the group.
class OptionButtons {
public:
    QRadioButton& Add(const QString& caption, QWidget* frame);
    QRadioButton& operator()(int index) const; // throws for an index that does not exist
    int Count() const { return static_cast<int>(buttons_.size()); }
    bool Value(int index) const { return (*this)(index).isChecked(); }
    void Select(int index);
    void ClearAll(); // leaves no button selected, which only code can do

private:
    void UpdateTabStops();

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

protected:
    void keyPressEvent(QKeyEvent* event) override; // Right raises, Left lowers
    void paintEvent(QPaintEvent* event) override;  // with a focus mark on the thumb
};

// Scroll runs only while the user moves the slider; setting the value from code is silent.
class Slider final : public QSlider {
public:
    Slider(int min, int max, QWidget* parent);
    void SetValue(std::int32_t value); // throws outside Min..Max
    void OnScroll(Handler handler);
};

} // namespace ombrix::layer
