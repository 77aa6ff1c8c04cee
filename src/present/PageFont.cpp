#include "present/PageFont.h"

#include <QStringList>

#include <algorithm>

#include "lesson/PageLimits.h"

namespace ov {
namespace {

constexpr int kPixelsPerInch = 96;
constexpr int kPointsPerInch = 72;
// The largest size in points that stays within the pixel limit.
constexpr int32_t kMaxPoints = page::kMaxFontPixels * kPointsPerInch / kPixelsPerInch;

}  // namespace

QFont PageFont(const TXMLFont& font, const QFont& base) {
    QFont result = base;
    if (!font.Name.empty()) result.setFamily(QString::fromStdString(font.Name));
    if (font.Size > 0) {
        const int32_t points = std::min(font.Size, kMaxPoints);
        result.setPixelSize((points * kPixelsPerInch + kPointsPerInch / 2) / kPointsPerInch);
    }
    return result;
}

void SubstituteLessonFaces() {
    const QStringList serif{QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC")};
    QFont::insertSubstitutions(QStringLiteral("宋体"), serif);
    QFont::insertSubstitutions(QStringLiteral("新宋体"), serif);
    QFont::insertSubstitutions(QStringLiteral("SimSun"), serif);
}

}  // namespace ov
