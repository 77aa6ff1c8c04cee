#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ovtool {

// Little-endian bytes with the bit fields Flash packs most significant bit
// first; any byte-sized write first pads the pending bit field to a byte.
class SwfBits {
public:
    void U8(std::uint32_t value);
    void U16(std::uint32_t value);
    void U32(std::uint32_t value);
    void Bytes(const std::vector<std::uint8_t>& bytes);
    // A zero-terminated string, as labels and texts are stored.
    void String(const std::string& text);

    void Unsigned(std::uint32_t value, int bits);
    void Signed(std::int32_t value, int bits);
    void Align();

    const std::vector<std::uint8_t>& Data();

    // How many bits a signed field needs to hold every value given.
    static int SignedWidth(std::initializer_list<std::int32_t> values);
    static int UnsignedWidth(std::uint32_t value);

private:
    std::vector<std::uint8_t> data_;
    std::uint8_t pending_ = 0;
    int pendingBits_ = 0;
};

}  // namespace ovtool
