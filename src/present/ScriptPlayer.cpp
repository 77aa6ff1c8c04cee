#include "present/ScriptPlayer.h"

#include <QScrollBar>

#include <algorithm>

#include "core/Clock.h"
#include "core/Log.h"
#include "lesson/LessonDocument.h"
#include "present/PagePlayback.h"
#include "present/PageView.h"
#include "present/PageSound.h"
#include "present/SentenceWord.h"
#include "present/WordTiming.h"
#include "store/CipherAndFiles.h"

namespace ov {
namespace {

constexpr int64_t kLastWordExtraMs = 200;

void Highlight(SentenceWord& word) {
    word.SetWipeFraction(0.0);
    word.SetHighlighted(true);
}

void Restore(SentenceWord& word) {
    word.SetHighlighted(false);
    word.SetWipeFraction(0.0);
}

// Scrolls one page down when the sentence's first word reaches below the
// visible area.
void BringIntoView(PageView& box, const SentenceWord& first) {
    const QScrollBar* bar = box.verticalScrollBar();
    if (first.y() + first.height() >= bar->value() + box.viewport()->height()) ScrollPage(box, true);
}

}  // namespace

ScriptPlayer::ScriptPlayer(PageView& box, PageSound& sound, Clock clock)
    : box_(box), sound_(sound), clock_(clock ? std::move(clock) : Clock(TickCountMs)) {
    connect(&timer_, &QTimer::timeout, this, &ScriptPlayer::Step);
}

bool ScriptPlayer::Run(const TRule& rule) {
    playList_.clear();
    // A pause of the script this one replaces must not step the new one.
    Halt();
    try {
        ParsePlayScript(rule.Text, playList_);
    } catch (const EConvertError& e) {
        Log(LogLevel::Warning, "present", std::string("play script not started: ") + e.what());
        return false;
    }
    stopped_ = false;
    Start();
    return true;
}

void ScriptPlayer::RunForWord(SentenceWord* word, const TRule& rule) {
    stopped_ = true;
    sound_.StopDisplay();
    StopWords();
    if (word) lastClickedWord_ = word;
    Run(rule);
}

void ScriptPlayer::StopAll() {
    stopped_ = true;
    StopWords();
    Halt();
    sound_.CloseAll();
}

void ScriptPlayer::StopWords() {
    if (mode_ == Mode::Word) Halt();
    for (const TBoxItem& item : box_.PageItems())
        if (item.Kind == ikWord) Restore(*static_cast<SentenceWord*>(item.Control));
}

void ScriptPlayer::Forget() {
    Halt();
    stopped_ = true;
    playList_.clear();
    scriptIndex_ = 0;
    litWord_ = nullptr;
    lastClickedWord_ = nullptr;
    lastSentenceId_ = 0;
}

void ScriptPlayer::Step() {
    if (mode_ == Mode::Word) {
        StepWord();
    } else if (mode_ == Mode::Pause) {
        EndPause();
    }
}

SentenceWord* ScriptPlayer::LitWord() const { return mode_ == Mode::Word && timer_.isActive() ? litWord_ : nullptr; }

void ScriptPlayer::Start() {
    if (playList_.empty()) return;
    scriptIndex_ = 0;
    const TScriptEntry first = playList_.front();
    if (first.Kind == TScriptEntry::kPause) {
        StartPause(first.Count);
    } else {
        PlayEntry(first, false);
    }
}

// A sentence reached at a script's start counts only its visible words; one
// reached from another entry counts all. An entry without words on the page or
// without a sound ends the script.
void ScriptPlayer::PlayEntry(const TScriptEntry& entry, bool countHidden) {
    try {
        QList<SentenceWord*> words = CollectWords(box_, entry.SentenceId);
        if (words.isEmpty()) return;
        const QString sound = SentenceSound(box_, entry.SentenceId);
        if (sound.isEmpty()) return;
        lastSentenceId_ = entry.SentenceId;
        PlaySentence(words, sound, countHidden);
    } catch (const std::exception& e) {
        Log(LogLevel::Warning, "present", std::string("play entry failed: ") + e.what());
    }
}

// The sentence's words turn red and share its time by width.
void ScriptPlayer::PlaySentence(const QList<SentenceWord*>& words, const QString& sound, bool countHidden) {
    BringIntoView(box_, *words.first());
    sentenceDuration_ = sound_.PlayLesson(box_.AudioFile(sound));
    wordStartTick_ = clock_();
    wordIndex_ = 0;
    sentenceWidth_ = 0;
    for (SentenceWord* word : words) {
        if (word->isHidden() && !countHidden) continue;
        Highlight(*word);
        sentenceWidth_ += word->width();
    }
    if (!words.first()->isHidden()) {
        LightWord(words.first());
    } else {
        // No word runs the script on, so a pause moves it on once the
        // sentence has been heard.
        StartPause(std::max<int64_t>(sentenceDuration_, 0) + kLastWordExtraMs);
    }
}

void ScriptPlayer::StepWord() {
    SentenceWord* word = litWord_;
    if (!word) {
        Halt();
        return;
    }
    const int64_t now = clock_();
    if (!word->isEnabled()) return;
    if (stopped_) {
        Halt();
        Restore(*word);
        return;
    }
    const int64_t wordTime = WordTimeMs(sentenceDuration_, word->width(), sentenceWidth_);
    const int64_t elapsed = now - wordStartTick_;
    if (wordTime < elapsed) {
        Halt();
        Restore(*word);
        NextWord();
        return;
    }
    if (auto wipe = WipeWidth(elapsed, sentenceWidth_, sentenceDuration_))
        word->SetWipeFraction(static_cast<double>(*wipe) / std::max(1, word->width()));
}

void ScriptPlayer::NextWord() {
    const int last = static_cast<int>(playList_.size()) - 1;
    if (scriptIndex_ < 0 || scriptIndex_ > last) return;
    QList<SentenceWord*> words = CollectWords(box_, playList_[scriptIndex_].SentenceId);
    const bool lastWord = wordIndex_ + 1 >= words.size();
    if (lastWord && scriptIndex_ == last) return;
    if (!lastWord) {
        wordStartTick_ = clock_();
        ++wordIndex_;
        LightWord(words[wordIndex_]);
        return;
    }
    const TScriptEntry next = playList_[scriptIndex_ + 1];
    if (next.Kind == TScriptEntry::kPause) {
        ++scriptIndex_;
        StartPause(next.Count);
        return;
    }
    for (SentenceWord* word : words) Restore(*word);
    ++scriptIndex_;
    PlayEntry(next, true);
}

void ScriptPlayer::EndPause() {
    if (stopped_) {
        Halt();
        return;
    }
    RestoreEntryWords(scriptIndex_);
    ++scriptIndex_;
    if (scriptIndex_ >= static_cast<int>(playList_.size())) {
        Halt();
        return;
    }
    const TScriptEntry entry = playList_[scriptIndex_];
    if (entry.Kind == TScriptEntry::kPause) {
        StartPause(entry.Count);
        return;
    }
    Halt();
    PlayEntry(entry, true);
}

void ScriptPlayer::StartPause(int64_t ms) {
    mode_ = Mode::Pause;
    timer_.start(static_cast<int>(std::clamp<int64_t>(ms, 0, INT32_MAX)));
}

void ScriptPlayer::LightWord(SentenceWord* word) {
    litWord_ = word;
    mode_ = Mode::Word;
    timer_.start(kWordStepMs);
}

void ScriptPlayer::Halt() {
    timer_.stop();
    mode_ = Mode::Idle;
}

void ScriptPlayer::RestoreEntryWords(int index) {
    if (index < 0 || index >= static_cast<int>(playList_.size()) || playList_[index].Kind != TScriptEntry::kPlay)
        return;
    for (SentenceWord* word : CollectWords(box_, playList_[index].SentenceId)) Restore(*word);
}

}  // namespace ov
