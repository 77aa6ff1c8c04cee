#include "SwfTestReader.h"

#include <stdexcept>

namespace ovtest {

std::uint32_t BitReader::Unsigned(int bits) {
    std::uint32_t value = 0;
    for (int i = 0; i < bits; ++i) {
        if (byte_ >= data_.size()) throw std::out_of_range("read past the end");
        value = (value << 1) | ((data_[byte_] >> (7 - bit_)) & 1);
        if (++bit_ == 8) bit_ = 0, ++byte_;
    }
    return value;
}

std::int32_t BitReader::Signed(int bits) {
    if (bits == 0) return 0;
    const std::uint32_t value = Unsigned(bits);
    const std::uint32_t sign = 1u << (bits - 1);
    return static_cast<std::int32_t>(value ^ sign) - static_cast<std::int32_t>(sign);
}

void BitReader::Align() {
    if (bit_ != 0) bit_ = 0, ++byte_;
}

std::uint32_t BitReader::U8() {
    Align();
    return Unsigned(8);
}

std::uint32_t BitReader::U16() { return U8() | U8() << 8; }
std::uint32_t BitReader::U32() { return U16() | U16() << 16; }

std::string BitReader::String() {
    std::string text;
    for (std::uint32_t c = U8(); c != 0; c = U8()) text.push_back(static_cast<char>(c));
    return text;
}

std::size_t BitReader::Offset() {
    Align();
    return byte_;
}

SwfRectRecord ReadRect(BitReader& in) {
    const int bits = static_cast<int>(in.Unsigned(5));
    SwfRectRecord rect{in.Signed(bits), in.Signed(bits), in.Signed(bits), in.Signed(bits)};
    in.Align();
    return rect;
}

SwfFileRecord ReadSwfFile(const std::vector<std::uint8_t>& file) {
    SwfFileRecord swf;
    BitReader in(file, 0);
    for (int i = 0; i < 3; ++i) swf.signature.push_back(static_cast<char>(in.U8()));
    swf.version = static_cast<int>(in.U8());
    swf.lengthField = in.U32();
    swf.stage = ReadRect(in);
    swf.frameRate = static_cast<std::uint16_t>(in.U16());
    swf.frameCount = static_cast<std::uint16_t>(in.U16());
    while (in.Offset() < file.size()) {
        const std::uint32_t header = in.U16();
        std::uint32_t length = header & 0x3F;
        if (length == 0x3F) length = in.U32();
        const std::size_t start = in.Offset();
        if (start + length > file.size()) throw std::out_of_range("tag runs past the end");
        swf.tags.push_back(
            {static_cast<std::uint16_t>(header >> 6),
             {file.begin() + static_cast<long>(start), file.begin() + static_cast<long>(start + length)}});
        for (std::uint32_t i = 0; i < length; ++i) in.U8();
    }
    return swf;
}

SwfPlaceRecord ReadPlace(const std::vector<std::uint8_t>& body) {
    BitReader in(body, 0);
    const std::uint32_t flags = in.U8();
    SwfPlaceRecord place;
    place.move = (flags & 0x01) != 0;
    place.depth = static_cast<std::uint16_t>(in.U16());
    if (flags & 0x02) place.character = static_cast<std::uint16_t>(in.U16());
    if (flags & 0x04) {
        for (int scaleOrRotate = 0; scaleOrRotate < 2; ++scaleOrRotate) {
            if (in.Unsigned(1) == 0) continue;
            const int bits = static_cast<int>(in.Unsigned(5));
            in.Signed(bits), in.Signed(bits);
        }
        const int bits = static_cast<int>(in.Unsigned(5));
        place.x = in.Signed(bits);
        place.y = in.Signed(bits);
    }
    return place;
}

SwfOutline ReadOutline(const std::vector<std::uint8_t>& body) {
    BitReader in(body, 2);  // after the shape id
    SwfOutline outline;
    outline.bounds = ReadRect(in);
    const std::uint32_t fills = in.U8();
    for (std::uint32_t i = 0; i < fills; ++i) in.U8(), in.U8(), in.U8(), in.U8();  // solid fills only
    const std::uint32_t lines = in.U8();
    if (lines != 0) throw std::runtime_error("line styles are not expected");
    const int fillBits = static_cast<int>(in.Unsigned(4));
    const int lineBits = static_cast<int>(in.Unsigned(4));
    std::int32_t x = 0, y = 0;
    for (;;) {
        if (in.Unsigned(1) == 0) {
            const std::uint32_t flags = in.Unsigned(5);
            if (flags == 0) break;
            if (flags & 0x01) {
                const int bits = static_cast<int>(in.Unsigned(5));
                x = in.Signed(bits), y = in.Signed(bits);
                outline.startX = x, outline.startY = y;
            }
            if (flags & 0x02) in.Unsigned(fillBits);
            if (flags & 0x04) in.Unsigned(fillBits);
            if (flags & 0x08) in.Unsigned(lineBits);
            continue;
        }
        const bool straight = in.Unsigned(1) == 1;
        const int bits = static_cast<int>(in.Unsigned(4)) + 2;
        if (straight) {
            const bool general = in.Unsigned(1) == 1;
            const bool vertical = !general && in.Unsigned(1) == 1;
            if (general || !vertical) x += in.Signed(bits);
            if (general || vertical) y += in.Signed(bits);
        } else {
            for (int i = 0; i < 2; ++i) x += in.Signed(bits), y += in.Signed(bits);
        }
        ++outline.edges;
    }
    outline.endX = x, outline.endY = y;
    return outline;
}

}  // namespace ovtest
