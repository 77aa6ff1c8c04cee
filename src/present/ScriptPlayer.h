#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <vector>

#include "lesson/PlayScript.h"
#include "lesson/LessonRecords.h"
#include "present/SentenceWord.h"

namespace ov {

class PageSound;
class PageView;

// Plays a rule's script on one page: each sentence through the page's lesson
// sound, each of its words highlighted for its share of the sentence's time,
// the pauses waited between. One timer moves it: every 100 ms while a word is
// lit, once for a pause. Time is read from the clock it is given, so tests can
// let it pass by hand.
class ScriptPlayer : public QObject {
    Q_OBJECT

public:
    using Clock = std::function<int64_t()>;
    static constexpr int kWordStepMs = 100;

    // The clock defaults to the program's tick count.
    ScriptPlayer(PageView& box, PageSound& sound, Clock clock = {});

    // Expands the rule's script into the play list and starts it. A malformed
    // number leaves the entries parsed before it, starts nothing and is
    // logged: a damaged rule must not take the player down with it.
    bool Run(const TRule& rule);
    // Runs the rule of a clicked word's sentence, ending what played.
    void RunForWord(SentenceWord* word, const TRule& rule);
    // Ends the script, restores every word and closes the page's sounds.
    void StopAll();
    // Ends the script and restores every word; the sounds play on.
    void StopWords();
    // The page's items are going: nothing of them may be touched again.
    void Forget();

    // The timer's step; tests call it when their clock says the timer is due.
    void Step();

    // Where the script stands.
    const std::vector<TScriptEntry>& PlayList() const { return playList_; }
    int ScriptIndex() const { return scriptIndex_; }
    int WordIndex() const { return wordIndex_; }
    // Playing time of the sentence after the speech speed, ms; 0 or less when
    // its length is unknown.
    int64_t SentenceDuration() const { return sentenceDuration_; }
    // Pixels of the highlighted words of the sentence.
    int64_t SentenceWidth() const { return sentenceWidth_; }
    bool Stopped() const { return stopped_; }
    // A word is being lit or a pause waited: the script has not come to its end.
    bool Running() const { return mode_ != Mode::Idle; }
    SentenceWord* LastClickedWord() const { return lastClickedWord_; }
    // The sentence played last, the one a recording is compared with; 0 for none.
    int32_t LastSentenceId() const { return lastSentenceId_; }
    // The word being lit, null while none is.
    SentenceWord* LitWord() const;
    // Whether a pause (or the wait after a sentence whose first word is
    // hidden) runs, and how long it is.
    bool Pausing() const { return mode_ == Mode::Pause && timer_.isActive(); }
    int PauseMs() const { return timer_.interval(); }

private:
    enum class Mode { Idle, Word, Pause };

    void Start();
    void PlayEntry(const TScriptEntry& entry, bool countHidden);
    void PlaySentence(const QList<SentenceWord*>& words, const QString& sound, bool countHidden);
    void StepWord();
    void NextWord();
    void EndPause();
    void StartPause(int64_t ms);
    void LightWord(SentenceWord* word);
    void Halt();
    void RestoreEntryWords(int index);

    PageView& box_;
    PageSound& sound_;
    Clock clock_;
    QTimer timer_;
    Mode mode_ = Mode::Idle;
    std::vector<TScriptEntry> playList_;
    // The entry playing or being waited, and its word being highlighted.
    int scriptIndex_ = 0;
    int wordIndex_ = 0;
    bool stopped_ = false;
    int64_t wordStartTick_ = 0;
    int64_t sentenceDuration_ = 0;
    int64_t sentenceWidth_ = 0;
    QPointer<SentenceWord> litWord_;
    QPointer<SentenceWord> lastClickedWord_;
    int32_t lastSentenceId_ = 0;
};

}  // namespace ov
