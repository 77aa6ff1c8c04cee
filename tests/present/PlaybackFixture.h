#pragma once

#include "audio/SoundLibrary.h"
#include "core/Clock.h"
#include "core/MessageHook.h"
#include "LessonText.h"
#include "OpenPage.h"
#include "present/PagePlayback.h"
#include "present/PageView.h"
#include "present/LessonPanel.h"
#include "present/PageSound.h"
#include "present/ScriptPlayer.h"
#include "present/SentenceWord.h"
#include "present/SoundInfoPanel.h"
#include "present/RecordDisplay.h"
#include "present/SoundDisplay.h"
#include "support/SilentSound.h"
#include "support/TestFiles.h"

#include "TestApp.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace playtest {

// The tick clock of these tests: time passes only when a test says so.
inline int64_t fakeNow = 1'000'000;
inline int64_t FakeTicks() { return fakeNow; }

// A real lesson panel (with its info panel and box) on a lesson folder of its
// own, the sound library on its virtual clock and the tick clock faked.
class PlaybackTest : public testing::Test {
protected:
    void SetUp() override {
        ovtest::TestApp();
        ov::SoundLibrary::Instance().UseVirtualClock();
        ov::SetTickSource(FakeTicks);
        ov::TakeRecordedMessages();
        panel = std::make_unique<ov::LessonPanel>(home.path(), 1280, ov::SdlWaveInputDriver());
        panel->resize(1000, 700);
        box = panel->Box;
    }
    void TearDown() override {
        box->Sound().CloseAll();
        panel.reset();
        ov::SetTickSource(nullptr);
        ov::TakeRecordedMessages();
    }

    // A silent PCM file of `ms` milliseconds.
    void WriteSound(const std::string& name, int ms) { ASSERT_TRUE(ovtest::WriteSilence(dir / name, ms)); }

    void Open(const std::string& xml, ov::TOVRule kind = ov::rSentenceFollowRead) {
        ovtest::OpenPage(*box, dir.path(), xml, kind);
        ASSERT_TRUE(box->Active());
    }

    // Words of a sentence, by word Id.
    QList<ov::SentenceWord*> Words(int sentenceId) { return ov::CollectWords(*box, sentenceId); }
    ov::ScriptPlayer& Script() { return box->Script(); }
    bool Pausing() { return Script().Pausing(); }
    ov::SentenceWord* RunningWord() { return Script().LitWord(); }
    // What the player's timer would do over `ms` on the fake clock: a step
    // every 100 ms while a word is lit, and one once a pause has passed.
    void Advance(int ms) {
        for (int step = 0; step < ms; step += 100) {
            fakeNow += 100;
            const bool pausing = Pausing();
            if (RunningWord()) Script().Step();
            if (pausing && (pauseWaited += 100) >= Script().PauseMs()) {
                pauseWaited = 0;
                Script().Step();
            }
        }
    }
    void Run(const std::string& script) {
        pauseWaited = 0;
        Script().Run(ov::TRule{ov::rOthers, 0, "", script});
    }

    ovtest::TempDir home;
    ovtest::TempDir dir;
    std::unique_ptr<ov::LessonPanel> panel;
    ov::PageView* box = nullptr;
    int pauseWaited = 0;
};

inline std::string Word(int id, int left, const std::string& text, const char* visible = "True", int top = 100) {
    return "<word Id=\"" + std::to_string(id) + "\" Top=\"" + std::to_string(top) + "\" Left=\"" + std::to_string(left) + "\" Visible=\"" +
           visible + "\" CanMove=\"False\">" + text + "</word>";
}

inline std::string Sentence(int id, const std::string& audio, const std::string& words, int ruleId = 0) {
    return "<sentence Id=\"" + std::to_string(id) + "\" Audio=\"" + audio +
           "\" Font_Size=\"12\" Font_Style=\"Arial\" Font_Color=\"0\" RuleStyle=\"0\" RuleId=\"" +
           std::to_string(ruleId) + "\">" + words + "</sentence>";
}

}  // namespace playtest
