#pragma once

#include <map>
#include <string>
#include <vector>

#include "TextMeasure.h"

namespace ovtool {

// The area a built page keeps its elements in: the screen the courseware
// is made for.
inline constexpr int kPageWidth = 800;
inline constexpr int kPageHeight = 600;
inline constexpr int kPageMargin = 20;

struct PageText {
    PageFontName font;
    int color = 0;  // blue-green-red, as pages keep colours
};

struct PageRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int Right() const { return left + width; }
    int Bottom() const { return top + height; }
};

// One lesson document: element pools and rule sections, filled in order,
// with every word placed by the font the player draws it with.
class PageWriter {
public:
    explicit PageWriter(const TextMeasure& measure) : measure_(measure) {}

    struct Placed {
        int id = 0;
        PageRect box;  // what the words cover
    };
    // A sentence laid out word by word from (left, top): one space of its font
    // between words, wrapped before `right`. A sentence with a sound plays when
    // one of its words is clicked, unless `clickable` is false.
    Placed Sentence(const std::string& text, int top, int left, int right, const PageText& look,
                    const std::string& audio = "", bool clickable = true);
    // Words placed in the given order along one line, for dragging into the
    // sentence's order; `order` lists word indexes left to right.
    Placed Shuffled(const std::vector<std::string>& words, const std::vector<size_t>& order, int top, int left,
                    const PageText& look, const std::string& audio);
    // A sentence without words: a sound for a rule to play.
    int Sound(const std::string& audio);
    int Picture(const std::string& name, PageRect box, bool visible = true, int group = -1,
                const std::string& key = "");
    int Edit(PageRect box);
    void Flash(const std::string& movie, PageRect box);
    void Rule(const std::string& section, const std::string& element) { rules_[section].push_back(element); }

    int SpaceWidth(const PageFontName& font) const { return measure_.Advance(" ", font); }
    int Advance(const std::string& text, const PageFontName& font) const { return measure_.Advance(text, font); }
    int LineHeight(const PageFontName& font) const { return measure_.Height(font); }
    // How wide a sentence stands on one line.
    int LineWidth(const std::string& text, const PageFontName& font) const;

    // The document, UTF-8; the build stores it as GBK.
    std::string Xml() const;

private:
    struct Word {
        std::string text;
        int top;
        int left;
    };
    int AddSentence(const std::vector<Word>& words, const PageText& look, const std::string& audio, bool clickable,
                    bool canMove);

    const TextMeasure& measure_;
    std::map<std::string, std::vector<std::string>> pools_;
    std::map<std::string, std::vector<std::string>> rules_;
    int sentences_ = 0;
    int pictures_ = 0;
    int edits_ = 0;
    int flashes_ = 0;
};

// A sentence's words, as the page places them one by one.
std::vector<std::string> SentenceWords(const std::string& text);

// Text for an XML attribute value or element content.
std::string XmlEscaped(const std::string& text);

}  // namespace ovtool
