#pragma once

#include "lesson/LessonRecords.h"

#include <QFont>

namespace ov {

// The font a lesson names, sized as the lessons' own screen drew it (96
// pixels per inch), so text keeps its place among the page's fixed positions
// whatever the screen's resolution. A missing face or size keeps `base`'s.
QFont PageFont(const TXMLFont& font, const QFont& base);

// The courseware names Windows faces; without a substitute they fall back to
// a Japanese face whose forms of some characters are wrong for Chinese. The
// player and the tool that lays pages out both draw with these.
void SubstituteLessonFaces();

}  // namespace ov
