#include "shell/UntClassShow.h"

#include "core/MessageHook.h"
#include "lesson/UntRule.h"
#include "present/OVPanelShowClass.h"
#include "present/UntSoundAudioInfoPanel.h"
#include "present/UntSoundAudioRecord.h"
#include "shell/OperationBar.h"
#include "store/UntDM.h"

#include "TestApp.h"
#include "support/TestFiles.h"

#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const std::string kScoreText =
    "特别提示：\r\n对比是根据录音与课件原音音量的\r\n高底与时长等来分析打分的\r\n仅供参考\r\n对比分值:";

class ClassShowRecording : public testing::Test {
protected:
    void SetUp() override {
        ovtest::TestApp();
        window = std::make_unique<ov::TFrmClassShow>(dm, ov::DataFolders::InOneFolder(home.path()));
        info = window->LessonPanel()->InfoPanel;
        ov::TakeRecordedMessages();
    }

    // Both displays sampled the same voiced sentence.
    void SampleTheSameSentence() {
        std::array<uint8_t, 11> voiced;
        voiced.fill(200);
        for (auto* display : {static_cast<ov::TChSound*>(info->Sound), static_cast<ov::TChSound*>(info->Recorder)})
            for (int tick = 0; tick < 20; ++tick) display->AppendSamples(voiced);
    }

    ovtest::TempDir home;
    ov::TFrmDM dm;
    std::unique_ptr<ov::TFrmClassShow> window;
    ov::TInfoPanel* info = nullptr;
};

TEST_F(ClassShowRecording, CompareTellsWhatIsMissingOrShowsTheScore) {
    struct Case {
        const char* what;
        uint8_t kind;
        const char* played;
        ov::RecordState recordState;
        std::string caption, text;
    };
    const Case cases[] = {
        {"not a reading function", ov::rDiscern, "a.wav", ov::RecordState::PlayedBack, "", ""},
        {"no original played", ov::rSentenceFollowRead, "", ov::RecordState::PlayedBack, "原音与录音对比提示", "您没有播放课件原文读音!"},
        {"recording not played back", ov::rWordFollowRead, "a.wav", ov::RecordState::NotPlayedBack, "原音与录音对比提示", "您没有播放录音!"},
        {"page just shown", ov::rRoleAct, "a.wav", ov::RecordState::PageShown, "原音与录音对比提示", "您没有播放录音!"},
        {"nothing to score", ov::rMusic, "a.wav", ov::RecordState::PlayedBack, "原音与录音对比", kScoreText + "0"},
    };
    for (const auto& c : cases) {
        window->State().FRuleKind = c.kind;
        window->State().FRecordState = c.recordState;
        info->Sound->SetFileName(c.played);
        QTest::mouseClick(window->PanelBottomShowOperation->BtnCompare, Qt::LeftButton);
        const auto messages = ov::TakeRecordedMessages();
        if (c.caption.empty()) {
            EXPECT_TRUE(messages.empty()) << c.what;
            continue;
        }
        ASSERT_EQ(messages.size(), 1u) << c.what;
        EXPECT_EQ(messages[0].caption, c.caption) << c.what;
        EXPECT_EQ(messages[0].text, c.text) << c.what;
        EXPECT_EQ(messages[0].kind, 0) << c.what;
    }
}

TEST_F(ClassShowRecording, CompareFreezesTheRecordingAndScoresIt) {
    window->State().FRuleKind = ov::rSentenceFollowRead;
    window->State().FRecordState = ov::RecordState::PlayedBack;
    info->Sound->SetFileName("sentence.wav");
    SampleTheSameSentence();
    window->BtnCompareClick();
    const auto messages = ov::TakeRecordedMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, kScoreText + "99");
    EXPECT_FALSE(info->Recorder->TimerEnabled());
    EXPECT_TRUE(info->Sound->TimerEnabled()) << "the original keeps sampling";
}

TEST_F(ClassShowRecording, PlayOutsideTheReadingFunctionsDoesNothing) {
    window->State().FRuleKind = ov::rDiscern;
    window->State().FRecordState = ov::RecordState::PageShown;
    window->BtnPlayClick();
    EXPECT_EQ(window->State().FRecordState, ov::RecordState::PageShown);
    EXPECT_TRUE(info->Recorder->LastFileName().empty());
}

TEST_F(ClassShowRecording, DeferredSetUpGivesTheRecorderItsFolder) {
    window->TimerFormShowTimer();
    EXPECT_EQ(info->Recorder->Recorder().RecordFolder(), (home / "Records").string() + "/");
    // The page buttons and spinners reach the window's handlers without harm.
    window->LessonPanel()->SpeedSpinner->setValue(10);
    window->LessonPanel()->NextBtn->click();
}

}  // namespace
