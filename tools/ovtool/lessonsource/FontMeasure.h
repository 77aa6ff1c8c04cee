#pragma once

#include "TextMeasure.h"

namespace ovtool {

// Measures with the fonts the player draws lesson words with, faces
// substituted as the player substitutes them. Needs a QGuiApplication.
class FontMeasure : public TextMeasure {
public:
    FontMeasure();
    int Advance(const std::string& text, const PageFontName& font) const override;
    int Height(const PageFontName& font) const override;
};

}  // namespace ovtool
