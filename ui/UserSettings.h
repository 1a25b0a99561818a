// The user's own choices (colours while typing, output format, send keys), kept in the
// user's configuration folder ($XDG_CONFIG_HOME/ombrix/ombrix.conf), apart from the
// settings file that every user of the machine shares.
#pragma once

#include <QSettings>

#include <memory>

namespace ombrix::ui {

std::unique_ptr<QSettings> UserSettings();

} // namespace ombrix::ui
