// Takes a fuzzer's bytes apart into the values a target needs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace ombrix::fuzz {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    // The next byte, or 0 once the input is used up.
    std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

    // What is left, as UTF-16 code units of two bytes each (little-endian).
    std::u16string RestAsUnits()
    {
        std::u16string units;
        for (; pos_ + 1 < size_; pos_ += 2)
            units.push_back(static_cast<char16_t>(data_[pos_] | data_[pos_ + 1] << 8));
        pos_ = size_;
        return units;
    }

    std::string RestAsBytes()
    {
        std::string bytes(reinterpret_cast<const char*>(data_) + pos_, size_ - pos_);
        pos_ = size_;
        return bytes;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

} // namespace ombrix::fuzz
