#pragma once

#include "swf/SwfSpec.h"
#include "swf/SwfWriter.h"

#include <nlohmann/json.hpp>

#include <string>

namespace movietest {

inline std::string Written(const nlohmann::json& spec) {
    const std::vector<std::uint8_t> bytes = ovtool::WriteSwf(ovtool::ReadSwfSpec(spec));
    return {bytes.begin(), bytes.end()};
}

// A red square gliding across a white stage of 400 x 100 in `frames` frames
// at 12 a second, looping, or stopping at its end; plain or zlib-compressed.
inline std::string GlidingSquare(int frames, bool compress = false, bool loop = true) {
    const nlohmann::json spec = {
        {"width", 400}, {"height", 100}, {"frameRate", 12}, {"compress", compress}, {"loop", loop},
        {"objects", {{{"id", "square"}, {"type", "rect"}, {"width", 20}, {"height", 20}, {"color", "#ff0000"}}}},
        {"frames",
         {{{"show", {{{"id", "square"}, {"x", 0}, {"y", 40}}}}},
          {{"show", {{{"id", "square"}, {"x", 380}, {"y", 40}}}}, {"steps", frames - 1}}}}};
    return Written(spec);
}

// Black device-font text, large, on a white stage of 400 x 100.
inline std::string Words(const std::string& text) {
    return Written({{"width", 400}, {"height", 100},
                    {"objects", {{{"id", "words"}, {"type", "text"}, {"text", text}, {"width", 400}, {"height", 90},
                                  {"size", 60}, {"color", "#000000"}}}},
                    {"frames", {{{"show", {{{"id", "words"}, {"x", 0}, {"y", 0}}}}, {"stop", true}}}}});
}

}  // namespace movietest
