#pragma once

#include "lesson/LessonRecords.h"

#include <QFont>

namespace ov {

// The font a lesson names, sized as the lessons' own screen drew it (96
// pixels per inch), so text keeps its place among the page's fixed positions
// whatever the screen's resolution. A missing face or size keeps `base`'s.
QFont PageFont(const TXMLFont& font, const QFont& base);

}  // namespace ov
