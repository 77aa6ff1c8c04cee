#include "present/PagePlayback.h"

#include <QScrollBar>

#include <algorithm>

#include "lesson/LessonDocument.h"
#include "present/PageView.h"
#include "present/ScriptPlayer.h"
#include "present/StudyFunctions.h"
#include "present/SentenceWord.h"

namespace ov {
namespace {

QList<SentenceWord*> WordItems(const PageView& box) {
    QList<SentenceWord*> words;
    for (const TBoxItem& item : box.PageItems())
        if (item.Kind == ikWord) words.append(static_cast<SentenceWord*>(item.Control));
    return words;
}

}  // namespace

void PlayRule(PageView& box, TOVRule kind, int32_t id) {
    box.Script().StopAll();
    box.SetRuleKind(kind);
    if (!box.Document() || !StudyFunctionOf(kind).playsScript) return;
    if (kind == rTitleRecite) ShowVisibleWords(box, true);
    TRule rule;
    box.Document()->GetRule(kind, id, rule);
    box.Script().Run(rule);
}

void PlayRole(PageView& box, TOVRule kind, const std::string& role) {
    box.Script().StopAll();
    if (kind != rRoleAct || !box.Document()) return;
    TRule rule;
    box.Document()->GetRoleRule(role, rule);
    box.Script().Run(rule);
}

std::vector<std::string> GetRoles(PageView& box) {
    if (!box.Document()) return {};
    return box.Document()->GetRoles().value_or(std::vector<std::string>{});
}

QList<SentenceWord*> CollectWords(const PageView& box, int32_t sentenceId) {
    QList<SentenceWord*> words;
    for (SentenceWord* word : WordItems(box))
        if (word->Word().SentenceId == sentenceId) words.append(word);
    std::stable_sort(words.begin(), words.end(),
                     [](const SentenceWord* a, const SentenceWord* b) { return a->Word().Id < b->Word().Id; });
    return words;
}

QString SentenceSound(const PageView& box, int32_t sentenceId) {
    std::string sound;
    if (box.Document()) box.Document()->GetSentenceAudio(sentenceId, sound);
    return QString::fromStdString(sound);
}

QList<SentenceWord*> WordsOfSound(const PageView& box, const QString& soundFile) {
    QList<SentenceWord*> words;
    if (soundFile.isEmpty()) return words;
    QList<int32_t> seen;
    for (SentenceWord* word : WordItems(box)) {
        const int32_t id = word->Word().SentenceId;
        if (seen.contains(id)) continue;
        seen.append(id);
        const QString sound = SentenceSound(box, id);
        if (!sound.isEmpty() && box.AudioFile(sound) == soundFile) words += CollectWords(box, id);
    }
    return words;
}

void ShowVisibleWords(PageView& box, bool hide) {
    for (SentenceWord* word : WordItems(box)) word->setVisible(!hide || word->Word().Visible);
}

void ScrollPage(PageView& box, bool down) {
    box.verticalScrollBar()->triggerAction(down ? QAbstractSlider::SliderPageStepAdd
                                                : QAbstractSlider::SliderPageStepSub);
}

}  // namespace ov
