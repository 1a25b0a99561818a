// The settings file: 24 lines, one value each, written from and read into the controls
// that hold the settings. There is no settings record anywhere else.
#pragma once

#include "settings/SettingsControls.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

namespace modOmbrix {

// The one fixed location of the settings file.
std::filesystem::path SettingsPath();

// A failure that leaves SaveSettings or the load recovery. The message names the path
// and the system's reason, e.g. "cannot write /var/tmp/kestovombrix.ini: Permission denied".
class SettingsFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A failure of one reading pass: the file cannot be opened or read (Line() is 0), or the
// value on Line() cannot be read or converted, or its control rejects it. The message
// names the path, e.g. "cannot read /tmp/x.ini: line 4: level 17 is outside 0..16".
class SettingsReadError : public SettingsFileError {
public:
    SettingsReadError(const std::string& message, int line) : SettingsFileError(message), line_(line) {}
    int Line() const { return line_; }

private:
    int line_;
};

// Index of the selected send-mode button, or nothing when neither is selected.
std::optional<std::uint8_t> GetSendMode(const SettingsControls& controls);

// Writes the whole file from the controls. Throws SettingsFileError; the previous file
// then stays whole.
void SaveSettings(const SettingsControls& controls, const std::filesystem::path& path = SettingsPath());

// Applies the file to the controls; on the first failure rewrites the file from the
// controls and applies it once more. Throws SettingsFileError when that recovery fails.
void LoadSettings(SettingsControls& controls, const std::filesystem::path& path = SettingsPath());

// One reading pass of the file into the controls, without the recovery: it never writes.
// Only a regular file is read, never through a symbolic link. Throws SettingsReadError.
void ReadSettingsFile(SettingsControls& controls, const std::filesystem::path& path);

} // namespace modOmbrix
