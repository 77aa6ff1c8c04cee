#include "SwfBits.h"

#include <algorithm>

namespace ovtool {

void SwfBits::U8(std::uint32_t value) {
    Align();
    data_.push_back(static_cast<std::uint8_t>(value));
}

void SwfBits::U16(std::uint32_t value) {
    U8(value & 0xFF);
    U8((value >> 8) & 0xFF);
}

void SwfBits::U32(std::uint32_t value) {
    U16(value & 0xFFFF);
    U16(value >> 16);
}

void SwfBits::Bytes(const std::vector<std::uint8_t>& bytes) {
    Align();
    data_.insert(data_.end(), bytes.begin(), bytes.end());
}

void SwfBits::String(const std::string& text) {
    Align();
    data_.insert(data_.end(), text.begin(), text.end());
    data_.push_back(0);
}

void SwfBits::Unsigned(std::uint32_t value, int bits) {
    for (int i = bits - 1; i >= 0; --i) {
        pending_ = static_cast<std::uint8_t>((pending_ << 1) | ((value >> i) & 1));
        if (++pendingBits_ == 8) {
            data_.push_back(pending_);
            pending_ = 0;
            pendingBits_ = 0;
        }
    }
}

void SwfBits::Signed(std::int32_t value, int bits) { Unsigned(static_cast<std::uint32_t>(value), bits); }

void SwfBits::Align() {
    if (pendingBits_ > 0) Unsigned(0, 8 - pendingBits_);
}

const std::vector<std::uint8_t>& SwfBits::Data() {
    Align();
    return data_;
}

int SwfBits::SignedWidth(std::initializer_list<std::int32_t> values) {
    int width = 1;
    for (std::int32_t value : values) {
        const std::uint32_t magnitude =
            value < 0 ? ~static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
        width = std::max(width, UnsignedWidth(magnitude) + 1);
    }
    return width;
}

int SwfBits::UnsignedWidth(std::uint32_t value) {
    int width = 0;
    while (value != 0) {
        ++width;
        value >>= 1;
    }
    return width;
}

}  // namespace ovtool
