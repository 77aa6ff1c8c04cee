#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "lesson/LessonXmlFile.h"
#include "lesson/LessonRecords.h"

namespace ov {

// One lesson page. Every operation walks the document by position from its
// element, reads values by the shared rules, and on a failure shows the one
// message and returns what it had set (outputs are left as they were unless
// an operation clears them). Ids are compared as numbers; the first element
// in document order whose "Id" matches wins unless an operation says otherwise.
class LessonDocument : public LessonXmlFile {
public:
    LessonDocument(std::filesystem::path folder, std::string fileName, bool createNew);

    // The empty document: every pool and section, nothing in them.
    void Initialise() override;

    // Page elements and their rules.
    // Closes the document afterwards, even after a failure.
    std::vector<TPageItem> GetPageItems();
    bool HasRules();
    void FindRule(TOVRule kind, TOVRule controlKind, int32_t elementId, TRule& output);
    void GetRule(TOVRule kind, int32_t id, TRule& output);
    std::optional<std::vector<std::string>> GetRoles();
    void GetRoleRule(const std::string& role, TRule& output);
    int32_t GetPoolRuleId(TOVRule controlKind, int32_t elementId);

    // Pictures and sentences.
    void GetImage(int32_t pictureId, TXMLImage& output);
    bool IsChoicePicture(int32_t pictureId);
    void GetChoiceWord(int32_t pictureId, std::string& output);
    int32_t FindKeyPicture(int32_t group, const std::string& key);
    void GetSentenceAudio(int32_t sentenceId, std::string& output);
    void GetSentenceRecord(int32_t sentenceId, TXMLSentences& output);

    // Exercise items of dictation, discrimination, tests and games.
    std::vector<TTest> GetItemTests(int32_t itemId, TOVRule kind);
    std::vector<TTest> GetTestItemTests(int32_t itemId);
    void GetItemAudio(int32_t itemId, TOVRule kind, std::string& output);
    // A position in the section, -1 when there is no neighbour.
    int32_t GetNeighbourItem(int direction, int32_t currentId, TOVRule kind);
    // (Id of the last element, Id of the first); silent.
    void GetItemRange(TOVRule kind, std::pair<int32_t, int32_t>& output);
    // Dictation and choice variants differ in their kinds and argument order;
    // both answer from the last matching test. The control style is a control
    // kind, typed so that the two argument orders cannot be confused.
    void GetEditAnswer(TOVRule controlStyle, int32_t editId, std::string& output, TOVRule kind);
    void GetEditAnswer(TOVRule kind, TOVRule controlStyle, std::string& output, int32_t editId);
    void GetResultMark(int32_t editId, TOVRule kind, TXMLImage& output);
    void GetResultMark(TOVRule kind, int32_t editId, TXMLImage& output);
    int32_t GetGroupEdit(TOVRule kind, int32_t itemId);
    int32_t GetEditGroup(TOVRule kind, int32_t editId);
    void GetGame(int32_t gameId, TXMLFlash& output);

    // Word and sentence arrangement.
    // Whether the page's section of an arrangement kind holds an arrangement;
    // silent, as a page need not have the section at all.
    bool HasArrangements(TOVRule kind);
    std::vector<std::string> GetSentenceIds(TOVRule kind);
    int32_t GetSentenceGroup(TOVRule kind, int32_t arrangementId);
    std::optional<std::vector<std::string>> GetSentenceWords(int32_t arrangementId, TOVRule kind);
    void GetSentenceAnswer(int32_t arrangementId, TOVRule kind, std::string& output);
    void GetSentenceMark(int32_t arrangementId, TOVRule kind, TXMLImage& output);
    // Silent.
    void ComposeSentence(int32_t arrangementId, TOVRule kind, std::string& output,
                         const std::vector<std::string>& wordIds);
    void GetAnswerLabel(int32_t position, TOVRule kind, TTmpLabel& output);
    void GetAnswerFont(int32_t arrangementId, TOVRule kind, TXMLFont& output);

private:
    void LastEditAnswer(std::initializer_list<TOVRule> accepted, TOVRule kind, TOVRule controlStyle, int32_t editId,
                        std::string& output);
    void LastResultMark(std::initializer_list<TOVRule> accepted, TOVRule kind, int32_t editId, TXMLImage& output);
};

}  // namespace ov
