#pragma once

#include <cstdint>
#include <vector>

#include "SwfMovie.h"

namespace ovtool {

// Tag codes the writer uses; the tests read them back by these names.
enum SwfTag : std::uint16_t {
    kTagEnd = 0,
    kTagShowFrame = 1,
    kTagDefineShape = 2,
    kTagSetBackgroundColor = 9,
    kTagDoAction = 12,
    kTagPlaceObject2 = 26,
    kTagRemoveObject2 = 28,
    kTagDefineButton2 = 34,
    kTagDefineEditText = 37,
    kTagFrameLabel = 43,
    kTagDefineFont2 = 48,
    kTagFileAttributes = 69,
};

// The whole file: "FWS", or "CWS" with everything after the first 8 bytes
// deflated when the movie asks for compression. The movie must be valid
// (characters referenced exist, labels a button targets exist); SwfSpec
// checks that before.
std::vector<std::uint8_t> WriteSwf(const SwfMovie& movie);

}  // namespace ovtool
