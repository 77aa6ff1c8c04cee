#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Reads our own SWF output back: enough of the format to check what the
// writer promises, nothing a general reader would need.
namespace ovtest {

class BitReader {
public:
    BitReader(const std::vector<std::uint8_t>& data, std::size_t offset) : data_(data), byte_(offset) {}

    std::uint32_t Unsigned(int bits);
    std::int32_t Signed(int bits);
    std::uint32_t U8();
    std::uint32_t U16();
    std::uint32_t U32();
    std::string String();
    void Align();
    std::size_t Offset();

private:
    const std::vector<std::uint8_t>& data_;
    std::size_t byte_;
    int bit_ = 0;
};

struct SwfRectRecord {
    std::int32_t xMin, xMax, yMin, yMax;
};

SwfRectRecord ReadRect(BitReader& in);

struct SwfTagRecord {
    std::uint16_t code;
    std::vector<std::uint8_t> body;
};

struct SwfFileRecord {
    std::string signature;
    int version = 0;
    std::uint32_t lengthField = 0;
    SwfRectRecord stage{};
    std::uint16_t frameRate = 0;  // 8.8 fixed point
    std::uint16_t frameCount = 0;
    std::vector<SwfTagRecord> tags;
};

// Fails the calling test (through exceptions) on a malformed uncompressed file.
SwfFileRecord ReadSwfFile(const std::vector<std::uint8_t>& file);

// A PlaceObject2 body: depth, character (0 for a move) and translation.
struct SwfPlaceRecord {
    bool move = false;
    std::uint16_t depth = 0, character = 0;
    std::int32_t x = 0, y = 0;
};
SwfPlaceRecord ReadPlace(const std::vector<std::uint8_t>& body);

// The end point of every edge of a DefineShape body, relative to the first
// move-to; a closed outline ends where it started.
struct SwfOutline {
    SwfRectRecord bounds{};
    std::int32_t startX = 0, startY = 0, endX = 0, endY = 0;
    int edges = 0;
};
SwfOutline ReadOutline(const std::vector<std::uint8_t>& body);

}  // namespace ovtest
