// What the dialogs ask of the rest of the program when they are confirmed.
#pragma once

namespace ombrix::ui {

class AppLink {
public:
    virtual ~AppLink() = default;
    // Puts the main window into the topmost band (flag true and Always On Top checked)
    // or takes it out.
    virtual void SetOnTop(bool flag) = 0;
    // Regenerates the main window's output from its current text (its txtIn_Change).
    virtual void RegenerateOutput() = 0;
    // Writes the settings file. A failure is the program's to report (the windows go on
    // either way: a dialog still closes, the main window still ends the program).
    virtual void SaveSettings() = 0;
};

} // namespace ombrix::ui
