#include "study/WordPanel.h"

#include "store/StoredSecrets.h"
#include "store/LessonData.h"
#include "store/CipherAndFiles.h"

#include "TestApp.h"
#include "support/CatalogueTestDb.h"
#include "support/SilentSound.h"
#include "support/TestFiles.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace {

class WordPanel : public testing::Test {
protected:
    void SetUp() override {
        ovtest::TestApp();
        dm = std::make_unique<ov::LessonData>();
        panel = std::make_unique<ov::TWordPanel>(*dm, state);
        panel->resize(900, 600);
        panel->show();
    }

    void WriteWords(int count) {
        std::vector<ovtest::Word> words;
        for (int i = 1; i <= count; ++i)
            words.push_back({" word" + std::to_string(i) + " ", "s" + std::to_string(i), "词" + std::to_string(i),
                             "Sentence " + std::to_string(i) + "."});
        ovtest::WriteWords(ov::WordDbPath(classPath()), words,
                           ov::DecipherString(ov::kWordDbPassword, ov::kDefaultCipherKey));
    }
    // A tenth of a second of silence as each word's sound.
    void WriteSounds(int count) {
        // Sound files are named after the word as stored, blanks included.
        for (int i = 1; i <= count; ++i)
            ASSERT_TRUE(ovtest::WriteSilence(dir / "Class" / ("w_ word" + std::to_string(i) + " .wav"), 100, 16000));
    }
    std::string classPath() const { return (dir / "Class").string(); }
    void DrillUntilIdle() {
        panel->BtnWordStartClick();
        ASSERT_TRUE(QTest::qWaitFor([this] { return panel->Drill().CurrentState() == ov::WordDrill::State::kIdle; },
                                    20000));
    }
    QString CountLine() const {
        return panel->CountLead->text() + "|" + panel->WordTotal->text() + "|" + panel->CountMiddle->text() + "|" +
               panel->WordNumber->text() + "|" + panel->CountTail->text();
    }

    ovtest::TempDir dir;
    ov::StudyState state;
    std::unique_ptr<ov::LessonData> dm;
    std::unique_ptr<ov::TWordPanel> panel;
};

TEST_F(WordPanel, PreviewShowsTheFirstWordAndTheCountLine) {
    WriteWords(12);
    panel->ShowWordList(classPath());
    EXPECT_EQ(panel->WordEdit->text(), "word1");
    EXPECT_EQ(panel->PhoneticEdit->text(), "[ s1 ]");
    EXPECT_EQ(panel->MeaningEdit->text(), "词1");
    EXPECT_EQ(panel->ExampleMemo->toPlainText(), "Sentence 1.");
    EXPECT_EQ(CountLine(), "本课共有|12|个单词，现在是第|1|个");
    EXPECT_EQ(state.Reading, ov::RecordState::PageShown);
}

TEST_F(WordPanel, LessonWithoutWordsChangesNothing) {
    panel->WordEdit->setText("before");
    panel->ShowWordList(classPath());
    EXPECT_EQ(panel->WordEdit->text(), "before");
    EXPECT_EQ(state.Reading, ov::RecordState::NotPlayedBack);
    panel->BtnWordStartClick();  // no query open: nothing happens
}

TEST_F(WordPanel, CardIsCentredInTheUpperPart) {
    QTest::qWait(20);
    const QWidget* card = panel->PanelWordShow;
    EXPECT_EQ(card->size(), QSize(554, 161));
    EXPECT_EQ(card->x(), panel->PWordRightTop->width() / 2 - 277);
    EXPECT_EQ(card->y(), 241 / 2 - 161 / 2);
}

TEST_F(WordPanel, PausedDrillResumesAfterTheWordItWasOn) {
    WriteWords(3);
    WriteSounds(3);
    panel->ShowWordList(classPath());
    const int penLeft = panel->ImagePen->x();
    // Pause during the first word's interval: the drill ends before the second.
    const int duringInterval = ov::TWordPanel::kBeforeWordMs + 600;
    QTimer::singleShot(duringInterval, panel.get(), [this, penLeft] {
        EXPECT_EQ(panel->ImagePen->x(), penLeft + ov::TWordPanel::kPenStep);
        panel->BtnWordPauseClick();
    });
    DrillUntilIdle();
    EXPECT_EQ(panel->WordEdit->text(), "word1");
    EXPECT_EQ(state.ResumeRecNo, 1);
    EXPECT_EQ(panel->ImagePen->x(), penLeft) << "the pen goes back after each word";

    // Resuming shows word 2 first; a stop then ends the drill there.
    QTimer::singleShot(duringInterval, panel.get(), [this] { panel->BtnWordStopClick(); });
    DrillUntilIdle();
    EXPECT_EQ(panel->WordEdit->text(), "word2");
    EXPECT_EQ(panel->WordNumber->text(), "2");
    EXPECT_EQ(state.ResumeRecNo, 0);
}

}  // namespace
