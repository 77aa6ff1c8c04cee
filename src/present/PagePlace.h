#pragma once

#include <QPoint>
#include <QRect>

#include <cstdint>

#include "lesson/PageLimits.h"

namespace ov {

// A page's numbers come from its author: they are brought into range before
// the toolkit or any sum of ours sees them.
inline QPoint PagePoint(int32_t left, int32_t top) { return {page::Coordinate(left), page::Coordinate(top)}; }

inline QRect PageRect(int32_t left, int32_t top, int32_t width, int32_t height) {
    return {page::Coordinate(left), page::Coordinate(top), page::Coordinate(width), page::Coordinate(height)};
}

}  // namespace ov
