// Exercise items: dictation, discrimination, tests and games. Callers pass
// positions and Ids interchangeably, relying on items numbered 0, 1, 2...
#include "lesson/LessonDocument.h"
#include "lesson/LessonLayout.h"
#include "lesson/RecordReaders.h"
#include "lesson/XmlValue.h"

namespace ov {

using namespace xml;

namespace {

constexpr std::initializer_list<TOVRule> kDictation{rWordFollowWrite, rSentenceFollowWrite};
constexpr std::initializer_list<TOVRule> kChoice{rDiscern, rTest};
constexpr std::initializer_list<TOVRule> kAnswered{rWordFollowWrite, rSentenceFollowWrite, rDiscern, rTest};
constexpr std::initializer_list<TOVRule> kNavigable{rWordFollowWrite, rSentenceFollowWrite, rDiscern, rGames, rTest};

void ReadTests(pugi::xml_node section, int32_t itemId, std::vector<TTest>& tests) {
    for (pugi::xml_node t : FindById(section, itemId).children()) {
        TTest test;
        // Byte fields keep the low byte of larger numbers.
        test.TestStyle = static_cast<uint8_t>(IntegerAttribute(t, "TestStyle"));
        test.ControlStyle = static_cast<uint8_t>(IntegerAttribute(t, "ControlStyle"));
        test.ControlId = IntegerAttribute(t, "ControlId");
        test.ImageId = IntegerAttribute(t, "ImageId");
        test.Answer = TextAttribute(t, "Answer");
        tests.push_back(std::move(test));
    }
}

// Every test of every item, in document order, for the scans that keep the last match.
template <typename Visit>
void ForEachTest(pugi::xml_node section, Visit visit) {
    for (pugi::xml_node item : section.children())
        for (pugi::xml_node test : item.children()) visit(test);
}

bool IsEditTest(pugi::xml_node test) { return EqualsInteger(Attribute(test, "ControlStyle"), rEdit); }

}  // namespace

std::vector<TTest> LessonDocument::GetItemTests(int32_t itemId, TOVRule kind) {
    const TOVRule read = (kind == rWordFollowWrite || kind == rDiscern) ? kind : rSentenceFollowWrite;
    std::vector<TTest> tests;
    Run([&](pugi::xml_node root) { ReadTests(layout::Walk(root, layout::SectionOf(read)), itemId, tests); });
    return tests;
}

std::vector<TTest> LessonDocument::GetTestItemTests(int32_t itemId) {
    std::vector<TTest> tests;
    Run([&](pugi::xml_node root) { ReadTests(layout::Walk(root, layout::SectionOf(rTest)), itemId, tests); });
    return tests;
}

void LessonDocument::GetItemAudio(int32_t itemId, TOVRule kind, std::string& output) {
    output.clear();
    Run([&](pugi::xml_node root) {
        pugi::xml_node item = FindById(layout::Walk(root, layout::ExerciseSection(kind, kAnswered)), itemId);
        if (!item) return;
        TXMLSentences sentence;
        GetSentenceRecord(IntegerAttribute(item, "SentencesId"), sentence);
        output = sentence.Audio;
    });
}

int32_t LessonDocument::GetNeighbourItem(int direction, int32_t currentId, TOVRule kind) {
    const auto path = layout::ExerciseSection(kind, kNavigable);
    int32_t neighbour = -1;
    if (!path) return neighbour;
    Run([&](pugi::xml_node root) {
        pugi::xml_node section = layout::Walk(root, *path);
        const int32_t n = CountChildren(section);
        int32_t i = 0;
        for (pugi::xml_node element : section.children()) {
            if (HasId(element, currentId)) break;
            ++i;
        }
        // An item that is not in the section has no next item; a position
        // past the end would be taken for an item.
        if (direction == 1 && i > 0) neighbour = i - 1;
        if (direction == 2 && i < n - 1) neighbour = i + 1;
    });
    return neighbour;
}

void LessonDocument::GetItemRange(TOVRule kind, std::pair<int32_t, int32_t>& output) {
    output = {-1, -1};
    const auto path = layout::ExerciseSection(kind, kNavigable);
    if (!path) return;
    Run(
        [&](pugi::xml_node root) {
            pugi::xml_node section = layout::Walk(root, *path);
            if (!section.first_child()) return;
            output.first = IntegerAttribute(section.last_child(), "Id");
            output.second = IntegerAttribute(section.first_child(), "Id");
        },
        Report::Silent);
}

void LessonDocument::LastEditAnswer(std::initializer_list<TOVRule> accepted, TOVRule kind, TOVRule controlStyle, int32_t editId,
                             std::string& output) {
    Run([&](pugi::xml_node root) {
        ForEachTest(layout::Walk(root, layout::ExerciseSection(kind, accepted)), [&](pugi::xml_node test) {
            if (EqualsInteger(Attribute(test, "ControlId"), editId) &&
                EqualsInteger(Attribute(test, "ControlStyle"), controlStyle))
                output = TextAttribute(test, "Answer");
        });
    });
}

void LessonDocument::GetEditAnswer(TOVRule controlStyle, int32_t editId, std::string& output, TOVRule kind) {
    LastEditAnswer(kDictation, kind, controlStyle, editId, output);
}

void LessonDocument::GetEditAnswer(TOVRule kind, TOVRule controlStyle, std::string& output, int32_t editId) {
    LastEditAnswer(kChoice, kind, controlStyle, editId, output);
}

void LessonDocument::LastResultMark(std::initializer_list<TOVRule> accepted, TOVRule kind, int32_t editId, TXMLImage& output) {
    Run([&](pugi::xml_node root) {
        ForEachTest(layout::Walk(root, layout::ExerciseSection(kind, accepted)), [&](pugi::xml_node test) {
            if (EqualsInteger(Attribute(test, "ControlId"), editId)) GetImage(IntegerAttribute(test, "ImageId"), output);
        });
    });
}

void LessonDocument::GetResultMark(int32_t editId, TOVRule kind, TXMLImage& output) {
    LastResultMark(kDictation, kind, editId, output);
}

void LessonDocument::GetResultMark(TOVRule kind, int32_t editId, TXMLImage& output) {
    LastResultMark(kChoice, kind, editId, output);
}

int32_t LessonDocument::GetGroupEdit(TOVRule kind, int32_t itemId) {
    int32_t editId = 0;
    Run([&](pugi::xml_node root) {
        for (pugi::xml_node item : layout::Walk(root, layout::ExerciseSection(kind, kChoice)).children()) {
            if (!HasId(item, itemId)) continue;
            for (pugi::xml_node test : item.children()) {
                if (!IsEditTest(test)) continue;
                editId = IntegerAttribute(test, "ControlId");
                break;
            }
        }
    });
    return editId;
}

int32_t LessonDocument::GetEditGroup(TOVRule kind, int32_t editId) {
    int32_t itemId = -1;
    Run([&](pugi::xml_node root) {
        for (pugi::xml_node item : layout::Walk(root, layout::ExerciseSection(kind, kAnswered)).children()) {
            for (pugi::xml_node test : item.children()) {
                if (!IsEditTest(test) || !EqualsInteger(Attribute(test, "ControlId"), editId)) continue;
                itemId = IntegerAttribute(item, "Id");
                break;
            }
        }
    });
    return itemId;
}

void LessonDocument::GetGame(int32_t gameId, TXMLFlash& output) {
    Run([&](pugi::xml_node root) {
        if (pugi::xml_node game = FindById(layout::Walk(root, layout::kGames), gameId)) ReadMovie(AttributeList(game), output);
    });
}

}  // namespace ov
