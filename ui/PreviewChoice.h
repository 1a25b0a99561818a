// Whether the message box shows the fade while the user types. A choice of the user's
// own, kept in the user's configuration folder ($XDG_CONFIG_HOME/ombrix/ombrix.conf),
// apart from the settings file that every user of the machine shares.
#pragma once

namespace ombrix::ui {

// On unless the user switched it off.
bool LoadShowColoursWhileTyping();
// Returns false when the choice could not be written.
bool SaveShowColoursWhileTyping(bool on);

} // namespace ombrix::ui
