#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <vector>

#include "lesson/LessonRecords.h"

namespace ov {

class TAnswerEdit;
class PageView;

// The exercise side of the content box: stepping through test items with
// their sounds, checking typed, chosen and arranged answers, marks beside the
// right ones, the count of right and wrong, and the standard answers.

// What StepItem tells the host about the item it arrived at.
enum StepCode { kStepFirst = 0, kStepLast = 1, kStepOther = 2, kStepOnly = 3 };

void GotoItem(PageView& box, TOVRule kind, bool reset, int32_t item);
void PlayTestItem(PageView& box, int32_t item, TOVRule kind);
void PlayQuestion(PageView& box, int32_t item, TOVRule kind);
void FocusItemEdit(PageView& box, TOVRule kind);
void ShowGame(PageView& box, int32_t item);
// direction 1 previous, 2 next.
int StepItem(PageView& box, TOVRule kind, int direction);
void ResetAnswers(PageView& box);

// Whether a typed answer is the expected one: ASCII letters compare ignoring
// case; nothing is trimmed and every other character must be the same.
bool AnswerMatches(const std::string& typed, const std::string& answer);

// How many of a page's answers are right, of how many.
struct TAnswerCount {
    int Right = 0;
    int Total = 0;
    TAnswerCount& operator+=(const TAnswerCount& other) {
        Right += other.Right;
        Total += other.Total;
        return *this;
    }
};

// A typed answer that did not match, as the pupil typed it.
struct TWrongAnswer {
    std::string Typed;
    std::string Expected;
};

// What "统计" found on a page.
struct TPageStatistics {
    TAnswerCount Count;
    std::vector<TWrongAnswer> Wrong;
};

// Checks the page's answers for its function, then every arrangement on the
// page, and shows one count of them all. A page shown for another function
// still holds its arrangements, and they deserve checking like the rest.
// Nothing when the page has nothing to count.
std::optional<TPageStatistics> ShowStatistics(PageView& box, TOVRule kind);
// The standard answers of the page's function and of every arrangement on the
// page. Pressed again, it replaces the labels it showed instead of stacking a copy.
void ShowAnswers(PageView& box);
// Compares every edit with its answer (AnswerMatches); with marks, shows a
// mark per right answer and explains the letters of each wrong typed one,
// else shows the standard answer above every edit. Nothing when the page
// cannot be checked.
// Each wrong typed answer is added to `wrong` when given.
std::optional<TAnswerCount> CheckEdits(PageView& box, TOVRule kind, bool marks,
                                       std::vector<TWrongAnswer>* wrong = nullptr);
// Marks the right arrangements of a kind; nothing when the page has none.
std::optional<TAnswerCount> CheckArrangement(PageView& box, TOVRule kind);
bool CheckSentenceOrder(PageView& box, int32_t sentenceId, TOVRule kind);
// Word Ids of a sentence's words from left to right as they stand now.
std::vector<std::string> CurrentWordOrder(const PageView& box, const std::vector<std::string>& words, int32_t group);
void ShowArrangementAnswers(PageView& box, TOVRule kind);

void ShowAnswerLabel(PageView& box, const TTmpLabel& label);
void ShowMark(PageView& box, const TXMLImage& mark);
void ShowStandardAnswer(PageView& box, TAnswerEdit& edit, const QString& answer, const QColor& color);
// The pupil's letters against the answer's, under the edit.
void ShowSpellingFeedback(PageView& box, const TAnswerEdit& edit, const QString& answer);
void ClearOverlays(PageView& box);
void HideAnswerHints(PageView& box);

}  // namespace ov
