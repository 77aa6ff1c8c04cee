#include "FontMeasure.h"

#include <QFontMetrics>
#include <QGuiApplication>

#include "present/PageFont.h"

namespace ovtool {
namespace {

QFontMetrics Metrics(const PageFontName& font) {
    return QFontMetrics(ov::PageFont({font.size, font.face, 0}, QGuiApplication::font()));
}

}  // namespace

FontMeasure::FontMeasure() { ov::SubstituteLessonFaces(); }

int FontMeasure::Advance(const std::string& text, const PageFontName& font) const {
    return Metrics(font).horizontalAdvance(QString::fromStdString(text));
}

int FontMeasure::Height(const PageFontName& font) const { return Metrics(font).height(); }

}  // namespace ovtool
