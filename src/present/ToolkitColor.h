#pragma once

#include "lesson/LessonRecords.h"

#include <QColor>

namespace ov {

// Lesson documents and the toolkit's colour numbers keep red in the low byte
// ($00BBGGRR).
inline QColor ToQColor(TColor value) {
    const auto bits = static_cast<uint32_t>(value);
    return QColor(static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
                  static_cast<int>((bits >> 16) & 0xFF));
}

}  // namespace ov
