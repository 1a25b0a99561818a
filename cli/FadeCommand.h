// The ombrix-fade command without its process plumbing: argument parsing and the run
// itself work on strings, so the tests drive them directly.
#pragma once

#include "engine/ColourTable.h"
#include "engine/DefaultSettings.h"
#include "engine/Fade.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ombrix::cli {

// A colour table and tag options held as plain values.
class FixedSettings final : public modOmbrix::ColourTable, public modOmbrix::TagOptions {
public:
    std::int32_t colourCount = modOmbrix::kDefaultColourCount;
    std::array<std::array<std::int16_t, 3>, 6> levels = modOmbrix::kDefaultLevels;
    std::int16_t fontTags = 0;
    std::int16_t finalFontTag = 0;

    std::int32_t ColourCount() const override { return colourCount; }
    std::int16_t Level(int slot, modOmbrix::Channel channel) const override
    {
        return levels.at(static_cast<std::size_t>(slot)).at(static_cast<std::size_t>(channel));
    }
    std::int16_t FontTagsValue() const override { return fontTags; }
    std::int16_t FinalFontTagValue() const override { return finalFontTag; }
};

// A bad command line: exit status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct CommandLine {
    bool help = false;
    std::vector<std::array<std::int16_t, 3>> colours; // from --color, in order
    bool endTags = false;
    bool finalTag = false;
    std::optional<std::string> settingsFile;       // from --settings
    std::optional<modOmbrix::OutputFormat> format; // from --format; HTML without it
};

CommandLine ParseArguments(const std::vector<std::string_view>& args);

// The settings a command line asks for: the defaults, or what --settings reads (one pass,
// never writing the file; throws modOmbrix::SettingsReadError), with --color,
// --end-tags and --final-tag on top.
FixedSettings SettingsFor(const CommandLine& line);

std::string UsageText();

struct RunResult {
    int status = 0;
    std::string out; // written to standard output as is
    std::string err; // one line for standard error, empty on success
};

// Parses the arguments and reads the settings file before it asks for the input, so a
// bad command line is reported at once instead of after the end of standard input.
RunResult RunFade(const std::vector<std::string_view>& args, const std::function<std::string()>& readInput);
RunResult RunFade(const std::vector<std::string_view>& args, std::string_view input);

// The message with every byte that could break its line or act on a terminal (control
// characters, DEL, C1 controls, bytes that are not UTF-8) written as \xNN.
std::string Printable(std::string_view message);

} // namespace ombrix::cli
