// The settings file: 24 lines, one value each, written from and read into the controls
// that hold the settings. There is no settings record anywhere else.
#pragma once

#include "settings/SettingsControls.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>

namespace modOmbrix {

// The one fixed location of the settings file.
std::filesystem::path SettingsPath();

// A failure that leaves SaveSettings or the load recovery. The message names the path
// and the system's reason, e.g. "cannot write /var/tmp/kestovombrix.ini: Permission denied".
class SettingsFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Index of the selected send-mode button, or nothing when neither is selected.
std::optional<std::uint8_t> GetSendMode(const SettingsControls& controls);

// Writes the whole file from the controls. Throws SettingsFileError; the previous file
// then stays whole.
void SaveSettings(const SettingsControls& controls, const std::filesystem::path& path = SettingsPath());

// Applies the file to the controls; on the first failure rewrites the file from the
// controls and applies it once more. Throws SettingsFileError when that recovery fails.
void LoadSettings(SettingsControls& controls, const std::filesystem::path& path = SettingsPath());

} // namespace modOmbrix
