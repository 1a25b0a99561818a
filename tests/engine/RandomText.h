// Random texts for the engine's property checks, built from pieces that matter to it.
#pragma once

#include <cstddef>
#include <random>
#include <span>
#include <string>

namespace ombrix::test {

// A text of the given length (one less where the last piece would be cut inside a
// surrogate pair, so that it holds whole characters) made of random pieces.
inline std::u16string RandomText(std::mt19937& rng, std::size_t length, std::span<const std::u16string> pieces)
{
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    std::u16string text;
    while (text.size() < length)
        text += pieces[pick(rng)];
    if (text.size() > length && length > 0 && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF)
        --length;
    text.resize(length);
    return text;
}

} // namespace ombrix::test
