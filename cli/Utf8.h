// Strict UTF-8 <-> UTF-16 conversion for the command-line front end.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace ombrix::cli {

class Utf8Error : public std::runtime_error {
public:
    Utf8Error(std::size_t offset, const std::string& what);
    std::size_t offset() const noexcept { return offset_; }

private:
    std::size_t offset_;
};

// Rejects overlong forms, encoded surrogates, code points above U+10FFFF and truncated
// sequences, naming the byte offset where the bad sequence starts. A byte-order mark
// is kept as an ordinary character.
std::u16string DecodeUtf8(std::string_view bytes);

// The text must be valid UTF-16 (no unpaired surrogates).
std::string EncodeUtf8(std::u16string_view text);

} // namespace ombrix::cli
