#include "cli/FadeCommand.h"

#include "cli/Utf8.h"
#include "engine/Fade.h"
#include "settings/ControlRanges.h"
#include "settings/Settings.h"

#include <charconv>

namespace ombrix::cli {
namespace {

std::int16_t ParseLevel(std::string_view text, std::string_view whole)
{
    int value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (text.empty() || ec != std::errc{} || ptr != last)
        throw UsageError("--color " + std::string(whole) + ": '" + std::string(text) + "' is not a number");
    if (value < modOmbrix::kMinLevel || value > modOmbrix::kMaxLevel)
        throw UsageError("--color " + std::string(whole) + ": level " + std::string(text) + " is outside 0..16");
    return static_cast<std::int16_t>(value);
}

// "html, css, ..., irc or ansi".
std::string FormatNames()
{
    std::string names;
    for (std::size_t i = 0; i < modOmbrix::kOutputFormats.size(); ++i) {
        if (i > 0)
            names += i + 1 == modOmbrix::kOutputFormats.size() ? " or " : ", ";
        names += modOmbrix::kOutputFormats[i].name;
    }
    return names;
}

modOmbrix::OutputFormat ParseFormat(std::string_view name)
{
    if (const std::optional<modOmbrix::OutputFormat> format = modOmbrix::FormatNamed(name))
        return *format;
    throw UsageError("--format " + std::string(name) + ": not a format; the formats are " + FormatNames());
}

std::array<std::int16_t, 3> ParseColour(std::string_view value)
{
    std::array<std::int16_t, 3> levels{};
    std::string_view rest = value;
    for (std::size_t c = 0; c < 3; ++c) {
        const std::size_t comma = rest.find(',');
        const bool last = c == 2;
        if (last != (comma == std::string_view::npos))
            throw UsageError("--color " + std::string(value) + ": expected three levels R,G,B");
        levels[c] = ParseLevel(rest.substr(0, comma), value);
        if (!last)
            rest.remove_prefix(comma + 1);
    }
    return levels;
}

// The controls of the settings file held as plain values, with the range checks of the
// real controls, so a file is judged as the program's start-up load judges it.
class FileControls final : public modOmbrix::SettingsControls {
public:
    using CheckBox = modOmbrix::CheckBox;

    explicit FileControls(FixedSettings& settings) : settings_(settings) {}

    bool IsSendOptionSelected(int index) const override { return sendOption_ == index; }
    void SelectSendOption(int index) override
    {
        modOmbrix::CheckSendOption(index);
        sendOption_ = index;
    }
    std::int32_t ColourCount() const override { return settings_.colourCount; }
    void SetColourCount(std::int32_t count) override
    {
        modOmbrix::CheckColourCount(count);
        settings_.colourCount = count;
    }
    void ApplyColourCount() override {}
    std::int16_t Level(int slot, modOmbrix::Channel channel) const override { return settings_.Level(slot, channel); }
    void SetLevel(int slot, modOmbrix::Channel channel, std::int16_t level) override
    {
        modOmbrix::CheckLevel(level);
        settings_.levels.at(static_cast<std::size_t>(slot)).at(static_cast<std::size_t>(channel)) = level;
    }
    std::u16string InOutCaption() const override { return collapsed_ ? u"4" : u"3"; }
    void PressInOut() override { collapsed_ = !collapsed_; }
    std::int16_t CheckValue(CheckBox box) const override
    {
        return box == CheckBox::FontTags       ? settings_.fontTags
               : box == CheckBox::FinalFontTag ? settings_.finalFontTag
                                               : onTop_;
    }
    void SetCheckValue(CheckBox box, std::int16_t value) override
    {
        modOmbrix::CheckCheckValue(value);
        (box == CheckBox::FontTags       ? settings_.fontTags
         : box == CheckBox::FinalFontTag ? settings_.finalFontTag
                                         : onTop_) = value;
    }

private:
    FixedSettings& settings_;
    int sendOption_ = 0;
    bool collapsed_ = false;
    std::int16_t onTop_ = 1;
};

} // namespace

CommandLine ParseArguments(const std::vector<std::string_view>& args)
{
    CommandLine line;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "-h" || arg == "--help") {
            line.help = true;
        } else if (arg == "--end-tags") {
            line.endTags = true;
        } else if (arg == "--final-tag") {
            line.finalTag = true;
        } else if (arg == "--settings" || arg.starts_with("--settings=")) {
            if (line.settingsFile)
                throw UsageError("--settings can be given only once");
            if (arg == "--settings") {
                if (i + 1 >= args.size())
                    throw UsageError("--settings needs a file");
                line.settingsFile = std::string(args[++i]);
            } else {
                line.settingsFile = std::string(arg.substr(std::string_view("--settings=").size()));
            }
        } else if (arg == "--format" || arg.starts_with("--format=")) {
            if (line.format)
                throw UsageError("--format can be given only once");
            if (arg == "--format") {
                if (i + 1 >= args.size())
                    throw UsageError("--format needs a name: " + FormatNames());
                line.format = ParseFormat(args[++i]);
            } else {
                line.format = ParseFormat(arg.substr(std::string_view("--format=").size()));
            }
        } else if (arg == "--color" || arg.starts_with("--color=")) {
            std::string_view value;
            if (arg == "--color") {
                if (i + 1 >= args.size())
                    throw UsageError("--color needs a value R,G,B");
                value = args[++i];
            } else {
                value = arg.substr(std::string_view("--color=").size());
            }
            if (line.colours.size() == static_cast<std::size_t>(modOmbrix::kSlotCount))
                throw UsageError("at most 6 colours can be given");
            line.colours.push_back(ParseColour(value));
        } else {
            throw UsageError("unknown option '" + std::string(arg) + "'");
        }
    }
    return line;
}

FixedSettings SettingsFor(const CommandLine& line)
{
    FixedSettings settings;
    if (line.settingsFile) {
        FileControls controls(settings);
        modOmbrix::ReadSettingsFile(controls, *line.settingsFile);
    }
    if (!line.colours.empty()) {
        settings.colourCount = static_cast<std::int32_t>(line.colours.size());
        for (std::size_t i = 0; i < line.colours.size(); ++i)
            settings.levels[i] = line.colours[i];
    }
    if (line.endTags)
        settings.fontTags = 1;
    if (line.finalTag)
        settings.finalFontTag = 1;
    return settings;
}

std::string UsageText()
{
    return "Usage: ombrix-fade [OPTION]...\n"
           "Read a message from standard input (UTF-8) and write it as HTML (or another format)\n"
           "whose text colour fades across up to six colours, with nothing added.\n"
           "\n"
           "  --color R,G,B   set the next colour from three levels 0..16 (red, green, blue);\n"
           "                  give it 1 to 6 times, which also sets the number of colours.\n"
           "                  Without it the six default colours are used.\n"
           "  --format NAME   what to write: html (the default), css, bbcode, minimessage,\n"
           "                  irc or ansi; each writes a tag or code only where the colour\n"
           "                  changes, and none before a space or a line break\n"
           "  --end-tags      html only: write </FONT> before every tag but the first\n"
           "                  (Use </FONT> Ending Tags)\n"
           "  --final-tag     html only: write a final \"</FONT> \" (Use Final </FONT> Tag)\n"
           "  --settings FILE take the colours and the two tag options from an HTML Ombrix\n"
           "                  settings file (only read, never changed); the options above\n"
           "                  override it\n"
           "  -h, --help      show this help and exit\n"
           "\n"
           "In html a CR LF line break becomes <BR>; the other formats also take a lone LF as a\n"
           "line break (see the manual page for what each writes). Exit status: 0 on success,\n"
           "1 when the text is too long for the number of colours (in every format the same),\n"
           "2 for a bad option, invalid UTF-8 or a settings file that cannot be read (its line\n"
           "and the reason are shown).\n"
           "\n"
           "Example: printf 'Hello' | ombrix-fade --color 16,0,0 --color 0,0,16 --format css\n";
}

std::string Printable(std::string_view message)
{
    std::string out;
    for (std::size_t i = 0; i < message.size();) {
        const auto byte = static_cast<unsigned char>(message[i]);
        std::size_t length = 1;
        bool shown = byte >= 0x20 && byte < 0x7F;
        if (byte >= 0x80) {
            // A whole UTF-8 character other than a C1 control is shown as it is.
            length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
            try {
                const std::u16string unit = DecodeUtf8(message.substr(i, length));
                shown = !(unit.size() == 1 && unit[0] >= 0x80 && unit[0] <= 0x9F);
            } catch (const Utf8Error&) {
                shown = false;
            }
            length = shown ? length : 1;
        }
        if (shown) {
            out += message.substr(i, length);
        } else {
            constexpr char kHex[] = "0123456789ABCDEF";
            out += {'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
        }
        i += length;
    }
    return out;
}

RunResult RunFade(const std::vector<std::string_view>& args, std::string_view input)
{
    return RunFade(args, [input] { return std::string(input); });
}

RunResult RunFade(const std::vector<std::string_view>& args, const std::function<std::string()>& readInput)
{
    RunResult result;
    try {
        const CommandLine line = ParseArguments(args);
        if (line.help) {
            result.out = UsageText();
            return result;
        }
        const FixedSettings settings = SettingsFor(line);
        const std::u16string text = DecodeUtf8(readInput());
        result.out = EncodeUtf8(
            modOmbrix::FadeText(text, settings, settings, line.format.value_or(modOmbrix::OutputFormat::Html)));
    } catch (const UsageError& e) {
        result = {2, {}, "ombrix-fade: " + Printable(e.what()) + " (try --help)"};
    } catch (const modOmbrix::SettingsReadError& e) {
        result = {2, {}, "ombrix-fade: " + Printable(e.what())};
    } catch (const Utf8Error& e) {
        result = {2, {}, "ombrix-fade: " + Printable(e.what())};
    } catch (const modOmbrix::TextTooLongError& e) {
        result = {1, {}, "ombrix-fade: " + Printable(e.what())};
    }
    return result;
}

} // namespace ombrix::cli
