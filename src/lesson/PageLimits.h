#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

// What the player takes from a page. Real pages have tens to a few hundred
// elements within a screen or two; the limits are far beyond that and keep a
// hostile page from freezing the window or overflowing arithmetic on its numbers.
namespace ov::page {

// A page with more elements than this, all kinds together, is not built.
inline constexpr size_t kMaxElements = 5000;

// Positions, widths and heights lie within plus or minus this many pixels.
inline constexpr int32_t kMaxCoordinate = 100000;
// Text is drawn 1 to this many pixels high.
inline constexpr int32_t kMaxFontPixels = 500;

inline constexpr int32_t Coordinate(int32_t value) { return std::clamp(value, -kMaxCoordinate, kMaxCoordinate); }

inline constexpr bool IsCoordinate(int32_t value) { return value >= -kMaxCoordinate && value <= kMaxCoordinate; }

}  // namespace ov::page
