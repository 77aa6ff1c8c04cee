#include "shell/MainWindow.h"

#include "core/MessageHook.h"
#include "lesson/LessonRecords.h"
#include "present/LessonPanel.h"
#include "present/SoundInfoPanel.h"
#include "present/RecordDisplay.h"
#include "shell/OperationBar.h"
#include "store/LessonData.h"

#include "TestApp.h"
#include "support/TestFiles.h"

#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const std::string kScoreText =
    "特别提示：\r\n对比是根据录音与课件原音音量的\r\n高底与时长等来分析打分的\r\n仅供参考\r\n对比分值:";

class MainWindowRecording : public testing::Test {
protected:
    void SetUp() override {
        ovtest::TestApp();
        window = std::make_unique<ov::MainWindow>(dm, ov::DataFolders::InOneFolder(home.path()));
        info = window->Panel()->InfoPanel;
        ov::TakeRecordedMessages();
    }

    // Both displays sampled the same voiced sentence.
    void SampleTheSameSentence() {
        std::array<uint8_t, 11> voiced;
        voiced.fill(200);
        for (auto* display : {static_cast<ov::SoundDisplay*>(info->Sound), static_cast<ov::SoundDisplay*>(info->Recorder)})
            for (int tick = 0; tick < 20; ++tick) display->AppendSamples(voiced);
    }

    ovtest::TempDir home;
    ov::LessonData dm;
    std::unique_ptr<ov::MainWindow> window;
    ov::SoundInfoPanel* info = nullptr;
};

TEST_F(MainWindowRecording, CompareTellsWhatIsMissingOrShowsTheScore) {
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
        window->State().RuleKind = c.kind;
        window->State().Reading = c.recordState;
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

TEST_F(MainWindowRecording, CompareFreezesTheRecordingAndScoresIt) {
    window->State().RuleKind = ov::rSentenceFollowRead;
    window->State().Reading = ov::RecordState::PlayedBack;
    info->Sound->SetFileName("sentence.wav");
    SampleTheSameSentence();
    window->BtnCompareClick();
    const auto messages = ov::TakeRecordedMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, kScoreText + "99");
    EXPECT_FALSE(info->Recorder->TimerEnabled());
    EXPECT_TRUE(info->Sound->TimerEnabled()) << "the original keeps sampling";
}

TEST_F(MainWindowRecording, PlayOutsideTheReadingFunctionsDoesNothing) {
    window->State().RuleKind = ov::rDiscern;
    window->State().Reading = ov::RecordState::PageShown;
    window->BtnPlayClick();
    EXPECT_EQ(window->State().Reading, ov::RecordState::PageShown);
    EXPECT_TRUE(info->Recorder->LastFileName().empty());
}

TEST_F(MainWindowRecording, DeferredSetUpGivesTheRecorderItsFolder) {
    window->TimerFormShowTimer();
    EXPECT_EQ(info->Recorder->Recorder().RecordFolder(), (home / "Records").string() + "/");
    // The page buttons and spinners reach the window's handlers without harm.
    window->Panel()->SpeedSpinner->setValue(10);
    window->Panel()->NextBtn->click();
}

}  // namespace
