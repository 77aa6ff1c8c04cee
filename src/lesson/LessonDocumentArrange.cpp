// Word and sentence arrangement: the pupil puts the movable words of a
// sentence in order; the answer names the words by base-36 Ids.
#include <algorithm>

#include "lesson/LessonDocument.h"
#include "lesson/LessonLayout.h"
#include "lesson/XmlValue.h"

namespace ov {

using namespace xml;

namespace {

constexpr std::initializer_list<TOVRule> kArrangement{rArrangeWord, rArrangeSentence};
constexpr int32_t kNoMovableWordLeft = 10000;

pugi::xml_node Arrangements(pugi::xml_node root, TOVRule kind) {
    return layout::Walk(root, layout::ExerciseSection(kind, kArrangement));
}

// The sentence of "alls" that the arrangement rearranges, or an empty node.
pugi::xml_node ArrangedSentence(pugi::xml_node root, pugi::xml_node arrangement) {
    return FindById(layout::Walk(root, layout::kAlls), IntegerAttribute(arrangement, "SentencesId"));
}

int32_t Base36Digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    throw XmlFailure("an answer character that names no word");
}

}  // namespace

bool LessonDocument::HasArrangements(TOVRule kind) {
    bool found = false;
    Run(
        [&](pugi::xml_node root) {
            for (pugi::xml_node arrangement : Arrangements(root, kind).children())
                found = found || arrangement.type() == pugi::node_element;
        },
        Report::Silent);
    return found;
}

std::vector<std::string> LessonDocument::GetSentenceIds(TOVRule kind) {
    std::vector<std::string> ids;
    Run([&](pugi::xml_node root) {
        for (pugi::xml_node arrangement : Arrangements(root, kind).children())
            ids.push_back(std::to_string(IntegerAttribute(arrangement, "Id")));
    });
    return ids;
}

int32_t LessonDocument::GetSentenceGroup(TOVRule kind, int32_t arrangementId) {
    int32_t sentenceId = -1;
    Run([&](pugi::xml_node root) {
        if (pugi::xml_node arrangement = FindById(Arrangements(root, kind), arrangementId))
            sentenceId = IntegerAttribute(arrangement, "SentencesId");
    });
    return sentenceId;
}

std::optional<std::vector<std::string>> LessonDocument::GetSentenceWords(int32_t arrangementId, TOVRule kind) {
    std::optional<std::vector<std::string>> words;
    Run([&](pugi::xml_node root) {
        pugi::xml_node arrangement = FindById(Arrangements(root, kind), arrangementId);
        if (!arrangement) return;
        pugi::xml_node sentence = ArrangedSentence(root, arrangement);
        if (!sentence) return;
        words.emplace();
        for (pugi::xml_node word : sentence.children()) {
            const Value canMove = Attribute(word, "CanMove");
            if (canMove && ToBoolean(canMove)) words->push_back(std::to_string(IntegerAttribute(word, "Id")));
        }
    });
    return words;
}

void LessonDocument::GetSentenceAnswer(int32_t arrangementId, TOVRule kind, std::string& output) {
    output.clear();
    Run([&](pugi::xml_node root) {
        if (pugi::xml_node arrangement = FindById(Arrangements(root, kind), arrangementId))
            output = TextAttribute(Child(arrangement, 0), "Answer");
    });
}

void LessonDocument::GetSentenceMark(int32_t arrangementId, TOVRule kind, TXMLImage& output) {
    Run([&](pugi::xml_node root) {
        if (pugi::xml_node arrangement = FindById(Arrangements(root, kind), arrangementId))
            GetImage(IntegerAttribute(Child(arrangement, 0), "ImageId"), output);
    });
}

void LessonDocument::ComposeSentence(int32_t arrangementId, TOVRule kind, std::string& output,
                              const std::vector<std::string>& wordIds) {
    output.clear();
    if (!layout::ExerciseSection(kind, kArrangement)) return;
    Run(
        [&](pugi::xml_node root) {
            pugi::xml_node arrangement = FindById(Arrangements(root, kind), arrangementId);
            if (!arrangement) return;
            pugi::xml_node sentence = ArrangedSentence(root, arrangement);
            if (!sentence) return;
            for (const std::string& wordId : wordIds)
                if (pugi::xml_node word = FindById(sentence, ToInteger(wordId))) output += TextOf(word);
        },
        Report::Silent);
}

void LessonDocument::GetAnswerLabel(int32_t position, TOVRule kind, TTmpLabel& output) {
    output = TTmpLabel{};
    Run([&](pugi::xml_node root) {
        pugi::xml_node arrangement = Child(Arrangements(root, kind), position);
        const int32_t sentenceId = IntegerAttribute(arrangement, "SentencesId");
        const std::string answer = TextAttribute(Child(arrangement, 0), "Answer");
        output.Left = kNoMovableWordLeft;
        pugi::xml_node sentence = FindById(layout::Walk(root, layout::kAlls), sentenceId);
        if (!sentence) return;
        for (char c : answer)
            if (pugi::xml_node word = FindById(sentence, Base36Digit(c))) output.Text += TextOf(word) + " ";
        for (pugi::xml_node word : sentence.children()) {
            // Exactly "True": unlike the Boolean rule, letter case counts here.
            if (!EqualsText(Attribute(word, "CanMove"), "True")) continue;
            output.Top = IntegerAttribute(word, "Top");
            output.Left = std::min(output.Left, IntegerAttribute(word, "Left"));
        }
    });
}

void LessonDocument::GetAnswerFont(int32_t arrangementId, TOVRule kind, TXMLFont& output) {
    Run([&](pugi::xml_node root) {
        pugi::xml_node arrangement = FindById(Arrangements(root, kind), arrangementId);
        if (!arrangement) return;
        if (pugi::xml_node sentence = ArrangedSentence(root, arrangement)) {
            output.Size = IntegerAttribute(sentence, "Font_Size");
            output.Name = TextAttribute(sentence, "Font_Style");
        }
    });
}

}  // namespace ov
