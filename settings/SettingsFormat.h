// The text of the settings file without any file behind it: the writer, the field
// reader, the conversions of a field, and one reading pass into the controls.
#pragma once

#include "settings/SettingsControls.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace modOmbrix {

inline constexpr int kSettingsLineCount = 24;
// Longest field the reader takes in, surrounding spaces and tabs included.
inline constexpr std::size_t kMaxFieldBytes = 4096;
// 24 fields of the longest accepted length, each ended by CR LF: a reading pass never
// looks further into a file than this.
inline constexpr std::size_t kMaxSettingsBytesRead = kSettingsLineCount * (kMaxFieldBytes + 2);

// " 5 " for a non-negative value, "-5 " for a negative one.
std::string FormatInteger(std::int64_t value);
// "True" or "False".
std::string FormatBoolean(bool value);
// The whole file for the controls as they are now: 24 lines, each ended by CR LF.
std::string FormatSettings(const SettingsControls& controls);

// A field that cannot be read or converted; what() says why.
class FieldError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Splits text into fields. A field ends at a comma or a line end (CR LF, or a lone LF or
// CR); an empty line is an empty field. The text must outlive the reader.
class FieldReader {
public:
    explicit FieldReader(std::string_view text) : text_(text) {}

    // The next field without the spaces and tabs around it. Throws FieldError at the end
    // of the text, for a field longer than kMaxFieldBytes, and for a byte in the field
    // that is not printable ASCII, space or tab.
    std::string_view Next();

    // The line (from 1) on which the field last asked for begins.
    int Line() const { return fieldLine_; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
    int fieldLine_ = 1;
};

// An empty field is 0. A decimal number (optional "+" or "-", digits, optional fraction)
// rounds to the nearest integer, ties to even. Anything else fails, "True" and "False"
// included, and so does a result outside the type's range.
std::int16_t ToInt16(std::string_view field);
std::int32_t ToInt32(std::string_view field);
// An empty field is False; a number is True unless it is zero; the words "True" and
// "False" are themselves; anything else fails.
bool ToBoolean(std::string_view field);

// Why a reading pass stopped: the line of the text it was reading and the reason.
class SettingsLineError : public std::runtime_error {
public:
    SettingsLineError(int line, const std::string& reason);
    int Line() const { return line_; }

private:
    int line_;
};

// One reading pass: reads the 24 fields in order and assigns each to its control before
// reading the next, so each control's handler runs as it would for the user. Stops at the
// first field that cannot be read or converted or that a control rejects, leaving what
// was assigned so far, and throws SettingsLineError. Anything after field 24 is ignored.
void ApplySettingsText(SettingsControls& controls, std::string_view text);

} // namespace modOmbrix
