#pragma once

#include <QList>

#include <string>
#include <vector>

#include "lesson/LessonRecords.h"

namespace ov {

class PageView;
class SentenceWord;

// What a reading function plays on the box: its rule, or the rule of one role.
// Kinds without rules only stop what played.
void PlayRule(PageView& box, TOVRule kind, int32_t id);
void PlayRole(PageView& box, TOVRule kind, const std::string& role);
std::vector<std::string> GetRoles(PageView& box);

// The words of a sentence on the page, by word Id (equal Ids in page order).
QList<SentenceWord*> CollectWords(const PageView& box, int32_t sentenceId);

// The sound file a sentence names, as the lesson document gives it; empty for none.
QString SentenceSound(const PageView& box, int32_t sentenceId);

// The words of every sentence on the page whose sound is `soundFile` (a full
// path, as the box resolves names), sentence by sentence in page order.
QList<SentenceWord*> WordsOfSound(const PageView& box, const QString& soundFile);

// With hide, only words whose record is Visible show; without, all do.
void ShowVisibleWords(PageView& box, bool hide);
// One page of the box up or down.
void ScrollPage(PageView& box, bool down);

}  // namespace ov
