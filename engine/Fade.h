// The fade engine's one public header: everything the windows, the command and the
// tests outside engine/ use of it. Pure C++, no Qt.
//
// A message fades across the colours of a ColourTable (ColourTable.h, which the caller
// implements over its settings). The engine offers:
//  - FadeText: the message as HTML, a <FONT COLOR=RRGGBB> tag before each character
//    whose colour differs from the one before it, CR LF as <BR>; or in another of the
//    OutputFormats, with a tag or code at the same places;
//  - FindColourChanges: the same colour changes as positions and codes, for a caller
//    that draws them itself (the message box's live colours) or writes them again;
//  - WriteFadedText: a format from changes already found, so a caller that needs both
//    finds them once.
// The other headers of engine/ are its inner workings; only ColourTable.h and
// DefaultSettings.h (the design's colour table) are public besides this one.
#pragma once

#include "engine/ColourTable.h"

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace modOmbrix {

// Positions are 16-bit: a text is refused when it is longer than 32766 code units or
// when its length times (colours - 1) exceeds 32767.
class TextTooLongError : public std::length_error {
public:
    TextTooLongError(std::int32_t colours, std::int32_t limit);
    std::int32_t colours() const noexcept { return colours_; }
    std::int32_t limit() const noexcept { return limit_; }

private:
    std::int32_t colours_;
    std::int32_t limit_;
};

// Longest text the engine accepts with the given number of colours (1..6).
std::int32_t MaxTextLength(std::int32_t colours);

// Where a faded text changes colour, and to what.
struct ColourChange {
    std::int16_t position; // 1-based, in UTF-16 code units of the text
    std::uint32_t code;    // the three channels' grid steps 0..16, red in bits 16..23 (CodeToRgb)
};

// The colour changes of the text that get a tag, in order: every position whose colour
// code differs from the one before it, except one that falls on a separator (space, CR,
// LF) or on the second half of a surrogate pair. Each character shows the colour of the
// last change at or before it; one before the first change has none. Reads the number
// of colours and the used slots' levels once. Throws TextTooLongError beyond
// MaxTextLength, OverflowError where a level outside 0..16 breaks the rules' 16-bit
// arithmetic.
std::vector<ColourChange> FindColourChanges(std::u16string_view text, const ColourTable& colours);

// A change's code as the 0xRRGGBB bytes its six hex digits stand for.
std::uint32_t CodeToRgb(std::uint32_t code);

// What the fade is written as. Spaces and line breaks never get a tag of their own in
// any of them; a line break is a CR LF pair (or, except in HTML, a lone LF).
enum class OutputFormat {
    Html,        // <FONT COLOR=RRGGBB> before each change; CR LF as <BR>; the tag options apply
    Css,         // <span style="color:#rrggbb"> ... </span>; < > & " as entities; <br>
    BbCode,      // [color=#RRGGBB] ... [/color]; LF
    MiniMessage, // <#rrggbb>, nothing closed; < and \ escaped as \< and \\; <newline>
    Irc,         // Ctrl+C and two digits of the extended mIRC palette where that colour
                 // changes and at the start of each line; Ctrl+O at the end; LF
    Ansi,        // ESC[38;2;R;G;Bm before each change, ESC[0m at the end; LF
};

struct OutputFormatName {
    OutputFormat format;
    std::string_view name;
};

// Every format with its name (for --format and the tool), in the order they are offered.
inline constexpr std::array<OutputFormatName, 6> kOutputFormats{{
    {OutputFormat::Html, "html"},
    {OutputFormat::Css, "css"},
    {OutputFormat::BbCode, "bbcode"},
    {OutputFormat::MiniMessage, "minimessage"},
    {OutputFormat::Irc, "irc"},
    {OutputFormat::Ansi, "ansi"},
}};

constexpr std::string_view FormatName(OutputFormat format)
{
    for (const OutputFormatName& f : kOutputFormats)
        if (f.format == format)
            return f.name;
    return {};
}

constexpr std::optional<OutputFormat> FormatNamed(std::string_view name)
{
    for (const OutputFormatName& f : kOutputFormats)
        if (f.name == name)
            return f.format;
    return std::nullopt;
}

// The message as faded text, HTML unless another format is asked for. Reads the colour
// count, the levels and (for HTML only) the tag options from the two views at call time
// and keeps nothing between calls. The closing-tags option is read at each tag, as it is
// written, and both options once at the end. The format never changes which texts are
// too long: that is the number of colours' alone.
std::u16string FadeText(std::u16string_view text, const ColourTable& colours, const TagOptions& tags,
                        OutputFormat format = OutputFormat::Html);

// FadeText's second half: the format of the text with the changes FindColourChanges gave
// for it.
std::u16string WriteFadedText(std::u16string_view text, const std::vector<ColourChange>& changes,
                              const TagOptions& tags, OutputFormat format = OutputFormat::Html);

// The IRC format's palette: the 99 colours of the extended mIRC palette (00-15 the
// standard sixteen, 16-98 the extended ones) as 0xRRGGBB, and the one nearest to a
// colour (least squared distance in RGB; the lower number on a tie).
inline constexpr int kIrcColourCount = 99;
std::uint32_t IrcColourRgb(int index);
int NearestIrcColour(std::uint32_t rgb);

} // namespace modOmbrix
