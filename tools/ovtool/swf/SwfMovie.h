#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace ovtool {

// A movie as the writer lays it out: lengths in twips (1/20 pixel), every
// character defined once and shown at most once, at the depth of its index.

struct SwfColor {
    std::uint8_t r = 0, g = 0, b = 0;
};

struct SwfRectangle {
    std::int32_t width = 0, height = 0;
    SwfColor color;
};

// Drawn around its origin, so its placement names its centre.
struct SwfCircle {
    std::int32_t radius = 0;
    SwfColor color;
};

enum class SwfAlign : std::uint8_t { Left = 0, Right = 1, Center = 2 };

// Shown in a device font, so any script the player's font covers shows.
struct SwfText {
    std::string text;  // UTF-8
    std::int32_t width = 0, height = 0;
    std::int32_t size = 0;
    SwfColor color;
    SwfAlign align = SwfAlign::Left;
};

// One character drawn inside a button, offset from the button's origin.
struct SwfPart {
    std::size_t character = 0;
    std::int32_t x = 0, y = 0;
};

// Clicking it moves the timeline to a labelled frame.
struct SwfButton {
    std::vector<SwfPart> parts;
    std::string target;
    bool play = false;  // keep playing from the target instead of stopping there
};

using SwfCharacter = std::variant<SwfRectangle, SwfCircle, SwfText, SwfButton>;

struct SwfPlacement {
    std::size_t character = 0;
    std::int32_t x = 0, y = 0;
    bool move = false;  // already on the stage: only its position changes
};

struct SwfFrame {
    std::string label;
    std::vector<SwfPlacement> placements;
    std::vector<std::size_t> removals;  // characters taken off the stage
    bool stop = false;
};

struct SwfMovie {
    int version = 8;
    std::int32_t width = 0, height = 0;
    double frameRate = 12;
    SwfColor background{255, 255, 255};
    std::vector<SwfCharacter> characters;
    std::vector<SwfFrame> frames;
    bool compress = false;
};

}  // namespace ovtool
