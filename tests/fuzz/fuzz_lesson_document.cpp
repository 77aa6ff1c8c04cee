#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <string>

#include "FuzzFiles.h"
#include "core/MessageHook.h"
#include "lesson/LessonDocument.h"
#include "lesson/FunctionIndexFile.h"

namespace {

// Operations that must stay silent whatever the document holds.
void ExpectSilence() {
    if (!ov::TakeRecordedMessages().empty()) __builtin_trap();
}

void ReadPage(ov::LessonDocument& page, int32_t id, ov::TOVRule kind) {
    ov::TRule rule;
    ov::TXMLImage image;
    ov::TXMLSentences sentence;
    ov::TXMLFlash game;
    ov::TTmpLabel label;
    ov::TXMLFont font;
    std::string text;
    page.HasRules();
    page.FindRule(ov::rOthers, static_cast<ov::TOVRule>(id & 3), id, rule);
    page.GetRule(kind, id, rule);
    page.GetRoles();
    page.GetRoleRule("Tom", rule);
    page.GetImage(id, image);
    page.IsChoicePicture(id);
    page.GetChoiceWord(id, text);
    page.FindKeyPicture(id, "cat");
    page.GetSentenceAudio(id, text);
    page.GetSentenceRecord(id, sentence);
    page.GetItemTests(id, kind);
    page.GetTestItemTests(id);
    page.GetItemAudio(id, kind, text);
    page.GetNeighbourItem(1 + (id & 1), id, kind);
    page.GetEditAnswer(ov::rEdit, id, text, kind);
    page.GetEditAnswer(kind, ov::rEdit, text, id);
    page.GetResultMark(id, kind, image);
    page.GetResultMark(kind, id, image);
    page.GetGroupEdit(kind, id);
    page.GetEditGroup(kind, id);
    page.GetGame(id, game);
    page.GetSentenceIds(kind);
    page.GetSentenceGroup(kind, id);
    page.GetSentenceWords(id, kind);
    page.GetSentenceAnswer(id, kind, text);
    page.GetSentenceMark(id, kind, image);
    page.GetAnswerLabel(id, kind, label);
    page.GetAnswerFont(id, kind, font);
    ov::TakeRecordedMessages();

    std::pair<int32_t, int32_t> range;
    page.GetItemRange(kind, range);
    page.ComposeSentence(id, kind, text, {"0", "1", "10", "x"});
    ExpectSilence();
}

}  // namespace

// The first byte picks the Id and the kind the lookups use; the rest is the document.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ovfuzz::SilenceLog();
    if (size == 0) return 0;
    const auto& folder = ovfuzz::ScratchFolder("lesson");
    ovfuzz::WriteBytes(folder / "page.ovb", std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
    static constexpr ov::TOVRule kKinds[] = {ov::rTitle, ov::rWordFollowWrite, ov::rSentenceFollowWrite,
                                             ov::rArrangeWord, ov::rArrangeSentence, ov::rDiscern,
                                             ov::rGames, ov::rTest};
    const int32_t id = (data[0] >> 3) % 4;
    const ov::TOVRule kind = kKinds[data[0] % 8];

    ov::LessonDocument page(folder, "page.ovb", false);
    for (const ov::TPageItem& item : page.GetPageItems())
        if (item.Data.index() != item.Kind) __builtin_trap();
    ReadPage(page, id, kind);

    ov::FunctionIndexFile index(folder, "page.ovb", false);
    std::string output;
    index.GetPageList(kind);
    index.GetNeighbourPage(kind, "p1.ov", output, static_cast<ov::TNeighbour>(id));
    ov::TakeRecordedMessages();
    return 0;
}
