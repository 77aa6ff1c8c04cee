#include "study/WordDrill.h"

#include "core/CoursewarePath.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace ov {
namespace {

// Each that exists is played, in this order.
const char* const kSoundExtensions[] = {".wav", ".mp3", ".swf"};

}  // namespace

void WordDrill::SetWords(std::string classFolder, std::vector<DrillWord> words) {
    End();
    classFolder_ = std::move(classFolder);
    words_ = std::move(words);
    open_ = true;
    current_ = 0;
    eof_ = words_.empty();
}

void WordDrill::CloseWords() {
    End();
    words_.clear();
    open_ = false;
    current_ = 0;
    eof_ = true;
}

void WordDrill::End() {
    if (state_ == State::kSounding) host_.StopSound();
    if (state_ == State::kWaiting || state_ == State::kInterval) host_.CancelWait();
    if (penRaised_) {
        host_.RaisePen(false);
        penRaised_ = false;
    }
    state_ = State::kIdle;
}

void WordDrill::Start(int passes, int intervalSeconds) {
    if (!open_ || state_ != State::kIdle || passes <= 0) return;
    passes_ = passes;
    pass_ = 0;
    SetInterval(intervalSeconds);
    BeginPass();
    NextWord();
}

void WordDrill::SetInterval(int seconds) { intervalMs_ = std::max(0, seconds * 1000 - 1); }

void WordDrill::Pause() {
    flags_.PauseWord = true;
    flags_.ResumeRecNo = RecNo();
}

void WordDrill::Stop() { flags_.StopWord = true; }

void WordDrill::BeginPass() {
    current_ = 0;
    eof_ = words_.empty();
    flags_.StopWord = false;
    flags_.PauseWord = false;
}

void WordDrill::NextWord() {
    while (eof_) {
        if (++pass_ >= passes_) return End();
        BeginPass();
    }
    if (flags_.StopWord || flags_.PauseWord) return End();
    if (flags_.ResumeRecNo > 0) {
        // As a cursor moved forward from the first word: it stops on the last
        // one, which is then shown once more and ends the pass.
        const size_t distance = static_cast<size_t>(flags_.ResumeRecNo);
        current_ = std::min(distance, words_.size() - 1);
        eof_ = distance >= words_.size();
        flags_.ResumeRecNo = 0;
    }
    state_ = State::kWaiting;
    host_.StartWait(kBeforeWordMs);
}

void WordDrill::WaitElapsed() {
    if (state_ == State::kWaiting) {
        state_ = State::kShowing;
        host_.RaisePen(true);
        penRaised_ = true;
        host_.ShowWord(static_cast<int>(current_));
        extension_ = 0;
        PlayNextSound();
    } else if (state_ == State::kInterval) {
        state_ = State::kShowing;
        ++extension_;
        PlayNextSound();
    }
}

void WordDrill::SoundFinished() {
    if (state_ == State::kSounding) StartInterval();
}

void WordDrill::PlayNextSound() {
    for (; extension_ < std::size(kSoundExtensions); ++extension_) {
        // The word comes from the lesson's database: a file it names outside
        // the lesson's folder is as good as missing.
        const auto path =
            ResolveCoursewareName(classFolder_, "w_" + words_[current_].word + kSoundExtensions[extension_]);
        if (!path) continue;
        switch (host_.PlaySound(path->string())) {
        case WordDrillHost::SoundStart::kMissing: continue;
        // A file that will not play still takes its interval.
        case WordDrillHost::SoundStart::kFailed: return StartInterval();
        case WordDrillHost::SoundStart::kPlaying: state_ = State::kSounding; return;
        }
    }
    EndWord();
}

void WordDrill::StartInterval() {
    state_ = State::kInterval;
    host_.StartWait(intervalMs_);
}

void WordDrill::EndWord() {
    host_.RaisePen(false);
    penRaised_ = false;
    if (current_ + 1 >= words_.size()) {
        eof_ = true;
        host_.PassCompleted(static_cast<int>(words_.size()));
    } else {
        ++current_;
    }
    NextWord();
}

}  // namespace ov
