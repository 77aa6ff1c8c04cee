#pragma once

#include <string>
#include <vector>

#include "study/StudyState.h"

namespace ov {

// One word of the lesson as the drill shows it, copied out of the word
// database so that nothing the pupil does meanwhile can pull it away.
struct DrillWord {
    // As stored, blanks included: it names the word's sound files.
    std::string word;
    std::string symbol;
    std::string meaning;
    std::string sentence;
};

// What the drill asks of the window it runs in. The host answers every wait
// and every sound it starts with one later call back into the drill, never
// from inside the request.
class WordDrillHost {
public:
    enum class SoundStart { kMissing, kFailed, kPlaying };

    virtual ~WordDrillHost() = default;
    // Word `index` (from 0) on the card and the count line, the spelling field
    // cleared and given the keyboard.
    virtual void ShowWord(int index) = 0;
    // The pen steps out while a word is drilled and back after it.
    virtual void RaisePen(bool raised) = 0;
    // kPlaying: SoundFinished() follows once the file has played to its end.
    virtual SoundStart PlaySound(const std::string& path) = 0;
    virtual void StopSound() = 0;
    // WaitElapsed() follows after ms unless the wait is cancelled first.
    virtual void StartWait(int ms) = 0;
    virtual void CancelWait() = 0;
    // The drill went through the whole list, of that many words, once more.
    virtual void PassCompleted(int) {}
};

// The word drill: every word of the list in turn, each shown after a second's
// pause and followed by its sound files with the chosen interval after each,
// for the chosen number of passes. Pause and stop take effect before the next
// word; a new or closed word list ends the drill at once. It never waits
// itself: the host's timer and sound calls move it on, so the window stays
// free and nothing can run a drill inside another.
class WordDrill {
public:
    enum class State { kIdle, kWaiting, kShowing, kSounding, kInterval };
    static constexpr int kBeforeWordMs = 1000;

    // The pause and stop flags and the resume record live in `flags`, where
    // the window's exit and the tests read them.
    WordDrill(WordDrillHost& host, StudyState& flags) : host_(host), flags_(flags) {}

    // A new list (the word preview opened again, perhaps of another lesson):
    // a running drill ends and the list starts at its first word.
    void SetWords(std::string classFolder, std::vector<DrillWord> words);
    // No list (another study function opened): a running drill ends and
    // "开始" does nothing until the next list.
    void CloseWords();
    // Ends a running drill at once, as leaving the window does.
    void End();

    bool Open() const { return open_; }
    const std::vector<DrillWord>& Words() const { return words_; }

    // "开始": ignored while a drill runs, so a second press cannot start a
    // second drill.
    void Start(int passes, int intervalSeconds);
    // The wait after each sound; a change reaches a running drill at its next sound.
    void SetInterval(int seconds);
    // "暂停": the drill ends after the word it is on, and the next "开始"
    // goes on with the word after it.
    void Pause();
    // "停止": the drill ends after the word it is on.
    void Stop();

    void WaitElapsed();
    void SoundFinished();

    State CurrentState() const { return state_; }
    // The pass under way, from 1; 0 when idle.
    int Pass() const { return state_ == State::kIdle ? 0 : pass_ + 1; }
    // The word the cursor is on, from 1; 0 without words.
    int RecNo() const { return open_ && !words_.empty() ? static_cast<int>(current_) + 1 : 0; }

private:
    void BeginPass();
    void NextWord();
    void PlayNextSound();
    void StartInterval();
    void EndWord();

    WordDrillHost& host_;
    StudyState& flags_;
    std::string classFolder_;
    std::vector<DrillWord> words_;
    bool open_ = false;
    State state_ = State::kIdle;
    int passes_ = 0;
    int pass_ = 0;
    int intervalMs_ = 0;
    size_t current_ = 0;
    // Past the last word: the pass is over.
    bool eof_ = true;
    size_t extension_ = 0;
    bool penRaised_ = false;
};

}  // namespace ov
