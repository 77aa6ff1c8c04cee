#pragma once

#include <cstdint>

#include "SwfBits.h"
#include "SwfMovie.h"

namespace ovtool {

// The body of a DefineShape tag (without its id) for a filled shape.
void WriteShape(SwfBits& out, const SwfRectangle& rectangle);
void WriteShape(SwfBits& out, const SwfCircle& circle);

// A RECT record.
void WriteRect(SwfBits& out, std::int32_t xMin, std::int32_t xMax, std::int32_t yMin, std::int32_t yMax);

// A MATRIX record that only moves.
void WriteTranslation(SwfBits& out, std::int32_t x, std::int32_t y);

}  // namespace ovtool
