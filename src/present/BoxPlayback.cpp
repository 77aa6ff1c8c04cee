#include "present/BoxPlayback.h"

#include <QScrollBar>

#include <algorithm>

#include "lesson/ChXMLA.h"
#include "present/CBox.h"
#include "present/ScriptPlayer.h"
#include "present/StudyFunctions.h"
#include "present/TimerLabel.h"

namespace ov {
namespace {

QList<TTimerLabel*> WordItems(const TCBox& box) {
    QList<TTimerLabel*> words;
    for (const TBoxItem& item : box.PageItems())
        if (item.Kind == ikWord) words.append(static_cast<TTimerLabel*>(item.Control));
    return words;
}

}  // namespace

void PlayRule(TCBox& box, TOVRule kind, int32_t id) {
    box.Script().StopAll();
    box.SetRuleTyle(kind);
    if (!box.Document() || !StudyFunctionOf(kind).playsScript) return;
    if (kind == rTitleRecite) ShowVisibleWords(box, true);
    TRule rule;
    box.Document()->GetRule(kind, id, rule);
    box.Script().Run(rule);
}

void PlayRole(TCBox& box, TOVRule kind, const std::string& role) {
    box.Script().StopAll();
    if (kind != rRoleAct || !box.Document()) return;
    TRule rule;
    box.Document()->GetRoleRule(role, rule);
    box.Script().Run(rule);
}

std::vector<std::string> GetRoles(TCBox& box) {
    if (!box.Document()) return {};
    return box.Document()->GetRoles().value_or(std::vector<std::string>{});
}

QList<TTimerLabel*> CollectWords(const TCBox& box, int32_t sentenceId) {
    QList<TTimerLabel*> words;
    for (TTimerLabel* word : WordItems(box))
        if (word->Word().SentenceId == sentenceId) words.append(word);
    std::stable_sort(words.begin(), words.end(),
                     [](const TTimerLabel* a, const TTimerLabel* b) { return a->Word().Id < b->Word().Id; });
    return words;
}

void ShowVisibleWords(TCBox& box, bool hide) {
    for (TTimerLabel* word : WordItems(box)) word->setVisible(!hide || word->Word().Visible);
}

void ScrollPage(TCBox& box, bool down) {
    box.verticalScrollBar()->triggerAction(down ? QAbstractSlider::SliderPageStepAdd
                                                : QAbstractSlider::SliderPageStepSub);
}

}  // namespace ov
