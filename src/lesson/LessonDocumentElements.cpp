// Lookups of single pictures and sentences by Id.
#include "lesson/LessonDocument.h"
#include "lesson/LessonLayout.h"
#include "lesson/XmlValue.h"

namespace ov {

using namespace xml;

void LessonDocument::GetImage(int32_t pictureId, TXMLImage& output) {
    Run([&](pugi::xml_node root) {
        pugi::xml_node picture = FindById(layout::Walk(root, layout::kAlli), pictureId);
        if (!picture) return;
        output.Image.Id = IntegerAttribute(picture, "Id");
        output.Top = IntegerAttribute(picture, "Top");
        output.Left = IntegerAttribute(picture, "Left");
        output.Width = IntegerAttribute(picture, "Width");
        output.Height = IntegerAttribute(picture, "Height");
        output.Image.Visible = BooleanAttribute(picture, "Visible");
        output.Image.Name = TextAttribute(picture, "Name");
        output.Image.Group = IntegerAttribute(picture, "Group");
    });
}

bool LessonDocument::IsChoicePicture(int32_t pictureId) {
    bool choice = false;
    Run([&](pugi::xml_node root) {
        if (pugi::xml_node picture = FindById(layout::Walk(root, layout::kAlli), pictureId))
            choice = DiffersFromEmpty(Attribute(picture, "Key"));
    });
    return choice;
}

void LessonDocument::GetChoiceWord(int32_t pictureId, std::string& output) {
    output.clear();
    Run([&](pugi::xml_node root) {
        if (pugi::xml_node picture = FindById(layout::Walk(root, layout::kAlli), pictureId))
            output = TextAttribute(picture, "Key");
    });
}

int32_t LessonDocument::FindKeyPicture(int32_t group, const std::string& key) {
    int32_t id = -1;
    Run([&](pugi::xml_node root) {
        for (pugi::xml_node picture : layout::Walk(root, layout::kAlli).children()) {
            if (!EqualsInteger(Attribute(picture, "Group"), group)) continue;
            if (EqualsText(Attribute(picture, "Key"), key)) {
                id = IntegerAttribute(picture, "Id");
                return;
            }
        }
    });
    return id;
}

void LessonDocument::GetSentenceAudio(int32_t sentenceId, std::string& output) {
    Run([&](pugi::xml_node root) {
        if (pugi::xml_node sentence = FindById(layout::Walk(root, layout::kAlls), sentenceId))
            output = TextAttribute(sentence, "Audio");
    });
}

void LessonDocument::GetSentenceRecord(int32_t sentenceId, TXMLSentences& output) {
    Run([&](pugi::xml_node root) {
        pugi::xml_node sentence = FindById(layout::Walk(root, layout::kAlls), sentenceId);
        if (!sentence) return;
        output.Id = IntegerAttribute(sentence, "Id");
        output.Audio = TextAttribute(sentence, "Audio");
        output.RuleStyle = IntegerAttribute(sentence, "RuleStyle");
        output.RuleId = IntegerAttribute(sentence, "RuleId");
    });
}

}  // namespace ov
