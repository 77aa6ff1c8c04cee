#pragma once

#include <QList>

#include <string>
#include <vector>

#include "lesson/UntRule.h"

namespace ov {

class TCBox;
class TTimerLabel;

// What a reading function plays on the box: its rule, or the rule of one role.
// Kinds without rules only stop what played.
void PlayRule(TCBox& box, TOVRule kind, int32_t id);
void PlayRole(TCBox& box, TOVRule kind, const std::string& role);
std::vector<std::string> GetRoles(TCBox& box);

// The words of a sentence on the page, by word Id (equal Ids in page order).
QList<TTimerLabel*> CollectWords(const TCBox& box, int32_t sentenceId);

// With hide, only words whose record is Visible show; without, all do.
void ShowVisibleWords(TCBox& box, bool hide);
// One page of the box up or down.
void ScrollPage(TCBox& box, bool down);

}  // namespace ov
