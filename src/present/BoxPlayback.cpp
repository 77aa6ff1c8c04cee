#include "present/BoxPlayback.h"

#include <QScrollBar>
#include <QTimer>

#include <algorithm>

#include "core/Clock.h"
#include "core/Log.h"
#include "lesson/ChXMLA.h"
#include "present/CBox.h"
#include "present/OVPanelShowClass.h"
#include "present/StudyFunctions.h"
#include "present/TimerLabel.h"
#include "present/UntSoundAudioInfoPanel.h"
#include "present/UntSoundAudioSound.h"
#include "present/WordTiming.h"
#include "store/UntPublic.h"

namespace ov {
namespace {

constexpr int64_t kLastWordExtraMs = 200;
constexpr const char* kPauseTimerName = "ScriptPauseTimer";

TCBox* BoxOf(QWidget* widget) {
    for (QWidget* w = widget; w != nullptr; w = w->parentWidget())
        if (auto* box = qobject_cast<TCBox*>(w)) return box;
    return nullptr;
}

// The lesson panel's speech speed; a box outside a panel plays at normal speed.
int SpeechSpeed(const TCBox& box) {
    for (QWidget* w = box.parentWidget(); w != nullptr; w = w->parentWidget())
        if (auto* panel = qobject_cast<TOVPanelShowClass*>(w)) return panel->MainSoundSpeed();
    return TOVPanelShowClass::kNormalSpeed;
}

TChSound* OriginalSound(const TCBox& box) { return box.InfoPanel() ? box.InfoPanel()->Sound : nullptr; }

QList<TTimerLabel*> WordItems(const TCBox& box) {
    QList<TTimerLabel*> words;
    for (const TBoxItem& item : box.PageItems())
        if (item.Kind == ikWord) words.append(static_cast<TTimerLabel*>(item.Control));
    return words;
}

void Highlight(TTimerLabel& word) {
    word.SetWipeFraction(0.0);
    word.SetHighlighted(true);
}

void Restore(TTimerLabel& word) {
    word.SetHighlighted(false);
    word.SetWipeFraction(0.0);
}

QTimer& PauseTimer(TCBox& box) {
    if (auto* timer = box.findChild<QTimer*>(kPauseTimerName, Qt::FindDirectChildrenOnly)) return *timer;
    auto* timer = new QTimer(&box);
    timer->setObjectName(kPauseTimerName);
    QObject::connect(timer, &QTimer::timeout, &box, [&box] { ScriptTimer(box); });
    return *timer;
}

void StartPause(TCBox& box, int64_t ms) { PauseTimer(box).start(static_cast<int>(std::clamp<int64_t>(ms, 0, INT32_MAX))); }

std::string SentenceSound(TCBox& box, int32_t sentenceId) {
    std::string sound;
    if (box.Document()) box.Document()->GetSentenceAudio(sentenceId, sound);
    return sound;
}

// Scrolls one page down when the sentence's first word reaches below the
// visible area.
void BringIntoView(TCBox& box, const TTimerLabel& first) {
    const QScrollBar* bar = box.verticalScrollBar();
    if (first.y() + first.height() >= bar->value() + box.viewport()->height()) ScrollPage(box, true);
}

// Starts a sentence: its words turn red and share its time by width. A
// sentence reached from a click or at a script's start counts only its
// visible words; one reached from another entry counts all.
void PlaySentence(TCBox& box, const QList<TTimerLabel*>& words, const std::string& sound, bool countHidden) {
    TPlaybackState& state = Playback();
    BringIntoView(box, *words.first());
    StopAlias(kLessonAlias);
    CloseAlias(kLessonAlias);
    PlayLessonSound(box, box.AudioFile(QString::fromStdString(sound)));
    state.WordStartTick = TickCountMs();
    state.WordIndex = 0;
    state.SentenceWidth = 0;
    for (TTimerLabel* word : words) {
        if (word->isHidden() && !countHidden) continue;
        Highlight(*word);
        state.SentenceWidth += word->width();
    }
    if (!words.first()->isHidden()) {
        words.first()->Timer().start();
    } else {
        // No word runs the script on, so the pause timer moves it on once
        // the sentence has been heard.
        StartPause(box, std::max<int64_t>(state.SentenceDuration, 0) + kLastWordExtraMs);
    }
}

// Plays the entry at ScriptIndex after another entry; ends the script when
// its sentence has no word on the page or no sound.
void PlayFollowingEntry(TCBox& box) {
    // A copy: the lesson document may tell the pupil of a missing resource,
    // and the timers that run meanwhile may replace the play list.
    const TScriptEntry entry = Playback().PlayList[Playback().ScriptIndex];
    QList<TTimerLabel*> words = CollectWords(box, entry.SentenceId);
    if (words.isEmpty()) return;
    std::string sound = SentenceSound(box, entry.SentenceId);
    if (sound.empty()) return;
    PlaySentence(box, words, sound, true);
}

void RestoreEntryWords(TCBox& box, int index) {
    const auto& list = Playback().PlayList;
    if (index < 0 || index >= static_cast<int>(list.size()) || list[index].Kind != TScriptEntry::kPlay) return;
    for (TTimerLabel* word : CollectWords(box, list[index].SentenceId)) Restore(*word);
}

}  // namespace

void PlayRule(TCBox& box, TOVRule kind, int32_t id) {
    StopAll(box);
    box.SetRuleTyle(kind);
    if (!box.Document() || !StudyFunctionOf(kind).playsScript) return;
    if (kind == rTitleRecite) ShowVisibleWords(box, true);
    TRule rule;
    box.Document()->GetRule(kind, id, rule);
    RunScript(box, rule);
}

void PlayRole(TCBox& box, TOVRule kind, const std::string& role) {
    StopAll(box);
    if (kind != rRoleAct || !box.Document()) return;
    TRule rule;
    box.Document()->GetRoleRule(role, rule);
    RunScript(box, rule);
}

std::vector<std::string> GetRoles(TCBox& box) {
    if (!box.Document()) return {};
    return box.Document()->GetRoles().value_or(std::vector<std::string>{});
}

bool RunScript(TCBox& box, const TRule& rule) {
    TPlaybackState& state = Playback();
    state.PlayList.clear();
    // A pause of the script this one replaces must not step the new one.
    PauseTimer(box).stop();
    try {
        ParsePlayScript(rule.Text, state.PlayList);
    } catch (const EConvertError& e) {
        Log(LogLevel::Warning, "present", std::string("play script not started: ") + e.what());
        return false;
    }
    state.StopFlag = false;
    StartScript(box);
    return true;
}

void StartScript(TCBox& box) {
    TPlaybackState& state = Playback();
    if (state.PlayList.empty()) return;
    state.ScriptIndex = 0;
    const TScriptEntry first = state.PlayList.front();
    if (first.Kind == TScriptEntry::kPause) {
        StartPause(box, first.Count);
    } else {
        PlayEntry(box, first);
    }
}

void PlayEntry(TCBox& box, const TScriptEntry& entry) {
    try {
        QList<TTimerLabel*> words = CollectWords(box, entry.SentenceId);
        if (words.isEmpty()) return;
        std::string sound = SentenceSound(box, entry.SentenceId);
        if (sound.empty()) return;
        PlaySentence(box, words, sound, false);
    } catch (const std::exception& e) {
        Log(LogLevel::Warning, "present", std::string("play entry failed: ") + e.what());
    }
}

QList<TTimerLabel*> CollectWords(const TCBox& box, int32_t sentenceId) {
    QList<TTimerLabel*> words;
    for (TTimerLabel* word : WordItems(box))
        if (word->Word().SentenceId == sentenceId) words.append(word);
    std::stable_sort(words.begin(), words.end(),
                     [](const TTimerLabel* a, const TTimerLabel* b) { return a->Word().Id < b->Word().Id; });
    return words;
}

void PlayLessonSound(TCBox& box, const QString& path) {
    TPlaybackState& state = Playback();
    const int speed = SpeechSpeed(box);
    TInfoPanel* panel = box.InfoPanel();
    // Normal speed plays through the info panel's display, which also shows it.
    if (speed == TOVPanelShowClass::kNormalSpeed) {
        TChSound* sound = OriginalSound(box);
        state.SentenceDuration = 0;
        if (sound) {
            if (panel->isHidden()) panel->show();
            sound->SetFileName(path.toStdString());
            state.SentenceDuration = SpeedAdjustedMs(sound->GetFileDuration(), speed);
            sound->PlayFile(path.toStdString());
        }
        PlaySceneSound(box);
        return;
    }
    if (panel && !panel->isHidden()) panel->hide();
    // A sound that does not open has no length: its words must not borrow
    // the previous sentence's.
    state.SentenceDuration = 0;
    if (SendMediaCommand("open " + ShortPath(path.toStdString()) + " type MPEGVideo Alias " + kLessonAlias) != 0)
        return;
    SendMediaCommand(std::string("Set ") + kLessonAlias + " Speed " + std::to_string(speed * 10));
    SendMediaCommand(std::string("play ") + kLessonAlias);
    std::string reply;
    SendMediaCommand(std::string("status ") + kLessonAlias + " length", &reply);
    state.SentenceDuration = SpeedAdjustedMs(ParseDecimal(reply).value_or(0), speed);
    PlaySceneSound(box);
}

void PlaySceneSound(TCBox& box) {
    SendMediaCommand("open " + ShortPath(box.NoiseName().toStdString()) + " type MPEGVideo Alias " + kSceneAlias);
    SendMediaCommand(std::string("SetAudio ") + kSceneAlias + " volume to " + std::to_string(box.NoiseValue()));
    SendMediaCommand(std::string("play ") + kSceneAlias + " repeat");
}

void TimerTick(TTimerLabel& word) {
    const int64_t now = TickCountMs();
    if (!word.isEnabled()) return;
    TPlaybackState& state = Playback();
    if (state.StopFlag) {
        word.Timer().stop();
        Restore(word);
        return;
    }
    const int64_t wordTime = WordTimeMs(state.SentenceDuration, word.width(), state.SentenceWidth);
    const int64_t elapsed = now - state.WordStartTick;
    if (wordTime < elapsed) {
        word.Timer().stop();
        Restore(word);
        if (TCBox* box = BoxOf(&word)) NextWord(*box);
        return;
    }
    if (auto wipe = WipeWidth(elapsed, state.SentenceWidth, state.SentenceDuration))
        word.SetWipeFraction(static_cast<double>(*wipe) / std::max(1, word.width()));
}

void NextWord(TCBox& box) {
    TPlaybackState& state = Playback();
    const int last = static_cast<int>(state.PlayList.size()) - 1;
    if (state.ScriptIndex < 0 || state.ScriptIndex > last) return;
    QList<TTimerLabel*> words = CollectWords(box, state.PlayList[state.ScriptIndex].SentenceId);
    const bool lastWord = state.WordIndex + 1 >= words.size();
    if (lastWord && state.ScriptIndex == last) return;
    if (!lastWord) {
        state.WordStartTick = TickCountMs();
        ++state.WordIndex;
        words[state.WordIndex]->Timer().start();
        return;
    }
    const TScriptEntry& next = state.PlayList[state.ScriptIndex + 1];
    if (next.Kind == TScriptEntry::kPause) {
        ++state.ScriptIndex;
        StartPause(box, next.Count);
        return;
    }
    for (TTimerLabel* word : words) Restore(*word);
    ++state.ScriptIndex;
    PlayFollowingEntry(box);
}

void ScriptTimer(TCBox& box) {
    TPlaybackState& state = Playback();
    QTimer& timer = PauseTimer(box);
    if (state.StopFlag) {
        timer.stop();
        return;
    }
    RestoreEntryWords(box, state.ScriptIndex);
    ++state.ScriptIndex;
    if (state.ScriptIndex >= static_cast<int>(state.PlayList.size())) {
        timer.stop();
        return;
    }
    const TScriptEntry& entry = state.PlayList[state.ScriptIndex];
    if (entry.Kind == TScriptEntry::kPause) {
        StartPause(box, entry.Count);
        return;
    }
    // Stopped before playing: an entry without words on the page ends the
    // script instead of waiting on with nothing to wait for.
    timer.stop();
    PlayFollowingEntry(box);
}

void StopAll(TCBox& box) {
    TPlaybackState& state = Playback();
    state.StopFlag = true;
    if (state.LastClickedWord) state.LastClickedWord->Timer().stop();
    // Every tick of the script stops here, so none can run on into whatever
    // the caller starts next; the flag stays for ticks already queued.
    StopWords(box);
    PauseTimer(box).stop();
    CloseSounds(box);
}

void StopWords(TCBox& box) {
    for (TTimerLabel* word : WordItems(box)) {
        word->Timer().stop();
        Restore(*word);
    }
}

void CloseSounds(TCBox& box) {
    StopAlias(kSceneAlias);
    CloseAlias(kSceneAlias);
    StopAlias(kLessonAlias);
    CloseAlias(kLessonAlias);
    if (TChSound* sound = OriginalSound(box)) sound->Stop();
}

void ShowVisibleWords(TCBox& box, bool hide) {
    for (TTimerLabel* word : WordItems(box)) word->setVisible(!hide || word->Word().Visible);
}

int StopAlias(const std::string& alias) { return SendMediaCommand("Stop " + alias); }

std::string CloseAlias(const std::string& alias) {
    return SendMediaCommand("Close " + alias) == 0 ? std::string() : Playback().MediaErrorText;
}

void ScrollPage(TCBox& box, bool down) {
    box.verticalScrollBar()->triggerAction(down ? QAbstractSlider::SliderPageStepAdd
                                                : QAbstractSlider::SliderPageStepSub);
}

}  // namespace ov
