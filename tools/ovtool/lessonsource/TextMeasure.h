#pragma once

#include <string>

namespace ovtool {

// A lesson font as a page names it: face and size in points.
struct PageFontName {
    std::string face;
    int size = 0;
};

// How wide and high the player draws a text: the layout places words by it.
class TextMeasure {
public:
    virtual ~TextMeasure() = default;
    virtual int Advance(const std::string& text, const PageFontName& font) const = 0;
    virtual int Height(const PageFontName& font) const = 0;
};

}  // namespace ovtool
