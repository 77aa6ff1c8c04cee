#include "PageWriter.h"

#include <algorithm>
#include <sstream>

namespace ovtool {
namespace {

std::string Attribute(const char* name, const std::string& value) {
    return std::string(" ") + name + "=\"" + XmlEscaped(value) + '"';
}

std::string Attribute(const char* name, int value) { return Attribute(name, std::to_string(value)); }

std::string Box(const PageRect& box) {
    return Attribute("Top", box.top) + Attribute("Left", box.left) + Attribute("Width", box.width) +
           Attribute("Height", box.height);
}

}  // namespace

std::vector<std::string> SentenceWords(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

int PageWriter::LineWidth(const std::string& text, const PageFontName& font) const {
    int width = 0;
    for (const std::string& word : SentenceWords(text))
        width += (width > 0 ? SpaceWidth(font) : 0) + Advance(word, font);
    return width;
}

std::string XmlEscaped(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        case '\n': escaped += "&#10;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

PageWriter::Placed PageWriter::Sentence(const std::string& text, int top, int left, int right, const PageText& look,
                                        const std::string& audio, bool clickable) {
    const int space = SpaceWidth(look.font);
    const int height = LineHeight(look.font);
    std::vector<Word> words;
    PageRect box{left, top, 0, height};
    int x = left;
    for (const std::string& word : SentenceWords(text)) {
        const int width = Advance(word, look.font);
        if (x > left && x + width > right) {
            x = left;
            top += height;
        }
        words.push_back({word, top, x});
        box.width = std::max(box.width, x + width - left);
        x += width + space;
    }
    box.height = top + height - box.top;
    return {AddSentence(words, look, audio, clickable, false), box};
}

PageWriter::Placed PageWriter::Shuffled(const std::vector<std::string>& words, const std::vector<size_t>& order,
                                        int top, int left, const PageText& look, const std::string& audio) {
    const int space = SpaceWidth(look.font);
    std::vector<Word> placed(words.size());
    int x = left;
    for (size_t index : order) {
        placed[index] = {words[index], top, x};
        x += Advance(words[index], look.font) + space;
    }
    const PageRect box{left, top, x - space - left, LineHeight(look.font)};
    return {AddSentence(placed, look, audio, true, true), box};
}

int PageWriter::Sound(const std::string& audio) { return AddSentence({}, {{"Arial", 20}, 0}, audio, false, false); }

int PageWriter::AddSentence(const std::vector<Word>& words, const PageText& look, const std::string& audio,
                            bool clickable, bool canMove) {
    const int id = ++sentences_;
    const int ruleId = clickable && !audio.empty() ? id : -1;
    std::string xml = "<s" + Attribute("Id", id) + Attribute("Audio", audio) + Attribute("Font_Size", look.font.size) +
                      Attribute("Font_Style", look.font.face) + Attribute("Font_Color", look.color) +
                      Attribute("RuleStyle", 0) + Attribute("RuleId", ruleId) + ">";
    for (size_t i = 0; i < words.size(); ++i)
        xml += "<w" + Attribute("Id", static_cast<int>(i)) + Attribute("Top", words[i].top) +
               Attribute("Left", words[i].left) + Attribute("Visible", "True") +
               Attribute("CanMove", canMove ? "True" : "False") + ">" + XmlEscaped(words[i].text) + "</w>";
    pools_["alls"].push_back(xml + "</s>");
    if (ruleId != -1)
        Rule("sentences", "<r Id=\"" + std::to_string(ruleId) + "\">[0,0," + std::to_string(id) + ",1]</r>");
    return id;
}

int PageWriter::Picture(const std::string& name, PageRect box, bool visible, int group, const std::string& key) {
    const int id = ++pictures_;
    pools_["alli"].push_back("<p" + Attribute("Id", id) + Attribute("Name", name) +
                             Attribute("Visible", visible ? "True" : "False") + Attribute("Group", group) +
                             Attribute("RuleId", -1) + Attribute("Key", key) + Box(box) + "/>");
    return id;
}

int PageWriter::Edit(PageRect box) {
    const int id = ++edits_;
    pools_["alledit"].push_back("<e" + Attribute("Id", id) + Attribute("Top", box.top) + Attribute("Left", box.left) +
                                Attribute("Caption", "") + Attribute("RuleId", -1) + Attribute("Width", box.width) +
                                Attribute("Height", box.height) + "/>");
    return id;
}

void PageWriter::Flash(const std::string& movie, PageRect box) {
    pools_["allFlash"].push_back("<f" + Attribute("Id", ++flashes_) + Box(box) + Attribute("Movie", movie) + "/>");
}

std::string PageWriter::Xml() const {
    const auto section = [](const std::string& name, const std::map<std::string, std::vector<std::string>>& from) {
        const auto found = from.find(name);
        if (found == from.end()) return "<" + name + "/>";
        std::string xml = "<" + name + ">";
        for (const auto& element : found->second) xml += element;
        return xml + "</" + name + ">";
    };
    const auto sections = [&](std::initializer_list<const char*> names,
                              const std::map<std::string, std::vector<std::string>>& from) {
        std::string xml;
        for (const char* name : names) xml += section(name, from);
        return xml;
    };
    const std::map<std::string, std::vector<std::string>> none;
    return "<?xml version=\"1.0\" encoding=\"GB2312\"?>\n<OVENG ver=\"6.0\"><res>" +
           sections({"alls", "alli", "allbutton", "allradio", "alledit", "allShape", "allFlash"}, pools_) +
           "</res><rules>" + section("Titles", rules_) + "<Others>" + section("sentences", rules_) +
           sections({"images", "buttons", "radios", "edits"}, none) + "</Others>" + section("Sencens", rules_) +
           "<Trainings>" +
           sections({"WordFollowReads", "SentenceFollowReads", "WordFollowWrites", "SentenceFollowWrites",
                     "ArrangeWords", "ArrangeSentences", "Discerns"},
                    rules_) +
           "</Trainings><Entertains>" + sections({"RoleActs", "TitleRecites"}, rules_) + "</Entertains>" +
           sections({"WordEden", "Games", "Musics", "Tests", "WorldExtends", "Importants", "Encampments"}, rules_) +
           "</rules></OVENG>\n";
}

}  // namespace ovtool
