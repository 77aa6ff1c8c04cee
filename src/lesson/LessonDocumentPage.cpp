// GetPageItems: every element of the page's pools, as the content box builds them.
#include "lesson/LessonDocument.h"
#include "lesson/LessonLayout.h"
#include "lesson/RecordReaders.h"
#include "lesson/XmlValue.h"

namespace ov {
namespace {

using namespace xml;

// What every word of a sentence shares. Read once per sentence that has
// words, which fails exactly where reading it word by word would.
TXMLSentence SentencePart(pugi::xml_node node) {
    const AttributeList sentence(node);
    TXMLSentence shared;
    shared.Sentence.SentenceId = IntegerAttribute(sentence, "Id");
    shared.Sentence.Audio = TextAttribute(sentence, "Audio");
    shared.Font.Size = IntegerAttribute(sentence, "Font_Size");
    shared.Font.Name = TextAttribute(sentence, "Font_Style");
    shared.Font.Color = IntegerAttribute(sentence, "Font_Color");
    return shared;
}

// An entry is built where it is listed and taken off again when one of its
// fields fails, so only entries read whole are listed and the order of
// reading within one element never shows.
template <typename Record, typename Read>
void AppendEntry(std::vector<TPageItem>& items, TItemKind kind, const Record& start, Read read) {
    TPageItem& item = items.emplace_back();
    item.Kind = kind;
    Record& record = item.Data.template emplace<Record>(start);
    try {
        read(record);
    } catch (...) {
        items.pop_back();
        throw;
    }
}

void AppendWords(pugi::xml_node alls, std::vector<TPageItem>& items) {
    for (pugi::xml_node sentence : alls.children()) {
        if (!sentence.first_child()) continue;
        const TXMLSentence shared = SentencePart(sentence);
        for (pugi::xml_node word : sentence.children()) {
            AppendEntry(items, ikWord, shared, [word](TXMLSentence& w) {
                const AttributeList attributes(word);
                w.Sentence.Id = IntegerAttribute(attributes, "Id");
                w.Top = IntegerAttribute(attributes, "Top");
                w.Left = IntegerAttribute(attributes, "Left");
                w.Sentence.Text = TextOf(word);
                w.Sentence.Visible = BooleanAttribute(attributes, "Visible");
                w.Sentence.CanMove = BooleanAttribute(attributes, "CanMove");
            });
        }
    }
}

void ReadPicture(const AttributeList& e, TXMLImage& p) {
    p.Image.Id = IntegerAttribute(e, "Id");
    p.Image.Name = TextAttribute(e, "Name");
    p.Image.Visible = BooleanAttribute(e, "Visible");
    p.Image.Group = IntegerAttribute(e, "Group");
    p.Image.RuleId = IntegerAttribute(e, "RuleId");
    p.Image.Key = TextAttribute(e, "Key");
    p.Top = IntegerAttribute(e, "Top");
    p.Left = IntegerAttribute(e, "Left");
    p.Width = IntegerAttribute(e, "Width");
    p.Height = IntegerAttribute(e, "Height");
}

void ReadButton(const AttributeList& e, TXMLButton& b) {
    ReadPlace(e, b);
    b.RuleId = IntegerAttribute(e, "RuleId");
    // Authors expect button text; pages without it keep the bare button.
    b.Caption = e["Caption"].value_or("");
}

void ReadEdit(const AttributeList& e, TXMLEdit& d) {
    d.Id = IntegerAttribute(e, "Id");
    d.Top = IntegerAttribute(e, "Top");
    d.Left = IntegerAttribute(e, "Left");
    d.Caption = TextAttribute(e, "Caption");
    d.RuleId = IntegerAttribute(e, "RuleId");
    d.Width = IntegerAttribute(e, "Width");
}

template <typename Record>
void AppendPool(pugi::xml_node pool, TItemKind kind, void (*read)(const AttributeList&, Record&),
                std::vector<TPageItem>& items) {
    for (pugi::xml_node element : pool.children())
        AppendEntry(items, kind, Record{}, [&](Record& record) { read(AttributeList(element), record); });
}

// Entries are large and a page has hundreds, so the list is sized up front:
// the words of the sentence pool and the elements of the other pools.
size_t CountEntries(pugi::xml_node res) {
    size_t count = 0;
    for (pugi::xml_node pool : res.children())
        for (pugi::xml_node element : pool.children())
            count += pool == res.first_child() ? static_cast<size_t>(CountChildren(element)) : 1;
    return count;
}

}  // namespace

std::vector<TPageItem> LessonDocument::GetPageItems() {
    std::vector<TPageItem> items;
    Run([&](pugi::xml_node root) {
        items.reserve(CountEntries(Child(root, 0)));
        AppendWords(layout::Walk(root, layout::kAlls), items);
        AppendPool(layout::Walk(root, layout::kAlli), ikPicture, ReadPicture, items);
        AppendPool(layout::Walk(root, layout::kAllButton), ikButton, ReadButton, items);
        AppendPool(layout::Walk(root, layout::kAllRadio), ikVideo, ReadMovie<TXMLVideo>, items);
        AppendPool(layout::Walk(root, layout::kAllEdit), ikEdit, ReadEdit, items);
        AppendPool(layout::Walk(root, layout::kAllShape), ikFrame, ReadPlace<TXMLFrame>, items);
        AppendPool(layout::Walk(root, layout::kAllFlash), ikMovie, ReadMovie<TXMLFlash>, items);
    });
    Close();
    return items;
}

}  // namespace ov
