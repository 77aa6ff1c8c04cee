#include "PlaybackFixture.h"

#include "present/WordTiming.h"

#include <QCoreApplication>
#include <QScrollBar>
#include <QTest>

namespace {

using namespace playtest;

class PagePlayback : public PlaybackTest {
protected:
    // Sentence 5 (two words, 1000 ms), sentence 6 (one word, 2000 ms) and
    // sentence 7 whose sound is missing.
    void OpenSentences(const char* firstVisible = "True") {
        WriteSound("five.wav", 1000);
        WriteSound("six.wav", 2000);
        Open(lessontest::LessonXml(
            {{"alls", Sentence(5, "five.wav", Word(0, 10, "Good", firstVisible) + Word(1, 80, "morning")) +
                          Sentence(6, "six.wav", Word(0, 10, "Hello")) +
                          Sentence(7, "gone.wav", Word(0, 10, "Bye") + Word(1, 60, "now"))}}));
    }
    static QString Playing(const ov::PageView& box) {
        return QString::fromStdString(std::filesystem::path(box.InfoPanel()->Sound->FileName()).filename().string());
    }
};

TEST(WordTiming, SharesOfTheSentenceTimePlus200) {
    struct Case {
        int64_t duration, width, sentenceWidth, wordTime;
    };
    const Case cases[] = {
        {2000, 40, 200, 600}, {2000, 60, 200, 800}, {2000, 100, 200, 1200},
        {2000, 40, 0, 200},   {0, 40, 200, 200},    {-1, 40, 200, 200},
        {600000, 3000, 3000, 600200},  // would overflow 32 bits on the way
    };
    for (const Case& c : cases)
        EXPECT_EQ(ov::WordTimeMs(c.duration, c.width, c.sentenceWidth), c.wordTime) << c.duration << " " << c.width;
    EXPECT_EQ(ov::WipeWidth(500, 200, 2000), 50);
    EXPECT_EQ(ov::WipeWidth(500, 200, 0), std::nullopt);
    EXPECT_EQ(ov::WipeWidth(500, 200, -1), std::nullopt);
    EXPECT_EQ(ov::SpeedAdjustedMs(3000, 120), 2500);
    EXPECT_EQ(ov::SpeedAdjustedMs(1000, 80), 1250);
}

TEST_F(PagePlayback, RepeatPauseAndNextSentenceInOrder) {
    OpenSentences();
    Run("[0,1,5,2][1,0,0,1500][0,1,6,1]");
    // Sentence 5: 1000 ms over two words, each word a further 200 ms.
    QStringList heard{Playing(*box)};
    int64_t started = fakeNow;
    std::vector<int64_t> entryStarts;
    int index = 0;
    for (int step = 0; step < 80 && (RunningWord() || Pausing()); ++step) {
        Advance(100);
        if (Script().ScriptIndex() != index) {
            index = Script().ScriptIndex();
            entryStarts.push_back(fakeNow - started);
            if (!Pausing()) heard << Playing(*box);
        }
    }
    EXPECT_EQ(heard, QStringList({"five.wav", "five.wav", "six.wav"}));
    ASSERT_EQ(entryStarts.size(), 3u);
    EXPECT_EQ(entryStarts[2] - entryStarts[1], 1500);
    EXPECT_FALSE(RunningWord());
    EXPECT_FALSE(Pausing());
    for (ov::SentenceWord* word : Words(6)) EXPECT_FALSE(word->Highlighted());
}

TEST_F(PagePlayback, PausesFirstAndInARowEachWaitInOrder) {
    OpenSentences();
    Run("[1,0,0,800][1,0,0,900][0,0,6,1]");
    ASSERT_TRUE(Pausing());
    EXPECT_EQ(Script().PauseMs(), 800);
    EXPECT_FALSE(Words(6)[0]->Highlighted());
    Advance(800);
    ASSERT_TRUE(Pausing());
    EXPECT_EQ(Script().PauseMs(), 900);
    Advance(900);
    EXPECT_FALSE(Pausing());
    EXPECT_TRUE(Words(6)[0]->Highlighted());
    EXPECT_EQ(Playing(*box), "six.wav");
}

TEST_F(PagePlayback, WordsLightForTheirShareAndTheWipeFollowsTheSound) {
    WriteSound("long.wav", 2000);
    Open(lessontest::LessonXml(
        {{"alls", Sentence(1, "long.wav", Word(0, 0, "a") + Word(1, 100, "b") + Word(2, 200, "c"))}}));
    const int widths[] = {40, 60, 100};
    for (int i = 0; i < 3; ++i) Words(1)[i]->resize(widths[i], 20);
    Run("[0,0,1,1]");
    EXPECT_EQ(Script().SentenceDuration(), 2000);
    EXPECT_EQ(Script().SentenceWidth(), 200);
    Advance(300);
    // 300 ms at 200 px per 2000 ms: 30 of the first word's 40 px.
    EXPECT_DOUBLE_EQ(Words(1)[0]->WipeFraction(), 0.75);
    std::vector<int64_t> lit;
    int64_t start = fakeNow - 300;
    int word = 0;
    while (RunningWord() && lit.size() < 3) {
        Advance(100);
        if (Script().WordIndex() != word || !RunningWord()) {
            word = Script().WordIndex();
            lit.push_back(fakeNow - start);
            start = fakeNow;
        }
    }
    // Each word ends on the first tick after its time (600, 800, 1200 ms).
    EXPECT_EQ(lit, (std::vector<int64_t>{700, 900, 1300}));
}

TEST_F(PagePlayback, NormalSpeedPlaysInTheInfoPanelOtherSpeedsThroughCommands) {
    WriteSound("three.wav", 3000);
    Open(lessontest::LessonXml({{"alls", Sentence(1, "three.wav", Word(0, 0, "a"))}}));
    panel->InfoPanel->hide();
    Run("[0,0,1,1]");
    EXPECT_FALSE(panel->InfoPanel->isHidden());
    EXPECT_EQ(Playing(*box), "three.wav");
    EXPECT_EQ(Script().SentenceDuration(), 3000);
    std::string reply;
    EXPECT_EQ(box->Sound().Media().Send("status ZOzadaZI length", &reply), ov::MediaCommand::kUnknownAlias);

    const std::pair<int, int64_t> speeds[] = {{80, 3750}, {120, 2500}};
    for (const auto& [speed, duration] : speeds) {
        panel->SetMainSoundSpeed(speed);
        Run("[0,0,1,1]");
        EXPECT_TRUE(panel->InfoPanel->isHidden()) << speed;
        EXPECT_EQ(Script().SentenceDuration(), duration) << speed;
        EXPECT_EQ(box->Sound().Media().Send("status ZOzadaZI length", &reply), 0) << speed;
    }
}

TEST_F(PagePlayback, AMissingSoundLightsItsWordsWithoutALeftOverDuration) {
    OpenSentences();
    panel->SetMainSoundSpeed(80);
    Run("[0,0,6,1][0,0,7,1]");
    EXPECT_EQ(Script().SentenceDuration(), 2500);
    Advance(2800);
    ASSERT_EQ(Script().ScriptIndex(), 1);
    EXPECT_NE(box->Sound().Media().LastError(), 0);
    EXPECT_EQ(Script().SentenceDuration(), 0);
    EXPECT_TRUE(Words(7)[0]->Highlighted());
    Advance(300);
    EXPECT_EQ(Words(7)[0]->WipeFraction(), 0.0);
    EXPECT_FALSE(Words(7)[0]->Highlighted());
    EXPECT_TRUE(Words(7)[1]->Highlighted());
    Advance(300);
    EXPECT_FALSE(RunningWord());
}

TEST_F(PagePlayback, AHiddenFirstWordStillMovesTheScriptOnAfterTheSentence) {
    OpenSentences("False");
    ov::ShowVisibleWords(*box, true);
    ASSERT_TRUE(Words(5)[0]->isHidden());
    Run("[0,0,5,1][0,0,6,1]");
    EXPECT_EQ(Playing(*box), "five.wav");
    EXPECT_FALSE(RunningWord());
    EXPECT_TRUE(Words(5)[1]->Highlighted());
    EXPECT_EQ(Script().SentenceWidth(), Words(5)[1]->width());
    Advance(1200);
    EXPECT_FALSE(Words(5)[1]->Highlighted());
    EXPECT_EQ(Playing(*box), "six.wav");
    EXPECT_TRUE(Words(6)[0]->Highlighted());
    ov::ShowVisibleWords(*box, false);
    EXPECT_FALSE(Words(5)[0]->isHidden());
}

TEST_F(PagePlayback, AnEntryWithoutWordsAfterAPauseEndsTheScript) {
    OpenSentences();
    Run("[1,0,0,800][0,0,99,1][0,0,6,1]");
    Advance(800);
    EXPECT_FALSE(Pausing());
    EXPECT_FALSE(RunningWord());
}

TEST_F(PagePlayback, AMalformedScriptStartsNothing) {
    OpenSentences();
    EXPECT_FALSE(Script().Run(ov::TRule{ov::rOthers, 0, "", "[0,0,5,1][0,x,6,1]"}));
    EXPECT_EQ(Script().PlayList().size(), 1u);
    EXPECT_FALSE(RunningWord());
    EXPECT_FALSE(Words(5)[0]->Highlighted());
}

TEST_F(PagePlayback, ClickingAWordDuringAScriptStartsItsSentencesRule) {
    WriteSound("five.wav", 1000);
    WriteSound("six.wav", 2000);
    Open(lessontest::LessonXml(
        {{"alls", Sentence(5, "five.wav", Word(0, 10, "Good") + Word(1, 80, "morning")) +
                      Sentence(6, "six.wav", Word(0, 10, "Hello"), 3)},
         {"sentences", "<rule Id=\"3\">[0,0,6,1]</rule>"}}));
    Run("[0,0,5,3]");
    Advance(300);
    ASSERT_TRUE(Words(5)[0]->Highlighted());
    QTest::mouseClick(Words(6)[0], Qt::LeftButton, {}, QPoint(2, 2));
    for (ov::SentenceWord* word : Words(5)) {
        EXPECT_FALSE(word->Highlighted());
        EXPECT_NE(RunningWord(), word);
    }
    EXPECT_TRUE(Words(6)[0]->Highlighted());
    EXPECT_EQ(Script().LastClickedWord(), Words(6)[0]);
    EXPECT_EQ(Script().PlayList().size(), 1u);
    EXPECT_EQ(Playing(*box), "six.wav");
}

TEST_F(PagePlayback, StopAllRestoresEveryWordAndClosesTheSounds) {
    OpenSentences();
    box->SetNoiseName(QString::fromStdString((dir / "six.wav").string()));
    Run("[0,0,5,1]");
    std::string reply;
    ASSERT_EQ(box->Sound().Media().Send("status DEdivo length", &reply), 0);
    Script().StopAll();
    EXPECT_TRUE(Script().Stopped());
    for (ov::SentenceWord* word : Words(5)) EXPECT_FALSE(word->Highlighted());
    EXPECT_EQ(box->Sound().Media().Send("status DEdivo length", &reply), ov::MediaCommand::kUnknownAlias);
    Advance(300);
    EXPECT_FALSE(RunningWord());
}

TEST_F(PagePlayback, TheVolumeSpinnerChangesTheOpenSceneSoundWithoutReopeningIt) {
    WriteSound("noise.wav", 2000);
    box->SetNoiseName(QString::fromStdString((dir / "noise.wav").string()));
    box->Sound().LoopScene();
    ov::SoundLibrary::Instance().AdvanceVirtualClock(500);
    box->SetNoiseValue(200);
    box->Sound().LoopScene();
    EXPECT_EQ(box->Sound().Media().LastCommand(), "play DEdivo repeat");
    EXPECT_EQ(box->Sound().Media().LastError(), 0);
    // The open failed on the alias in use, so the playing sound was kept.
    EXPECT_EQ(box->Sound().Media().Send("open " + (dir / "noise.wav").string() + " type MPEGVideo Alias DEdivo"),
              ov::MediaCommand::kAliasInUse);
}

TEST_F(PagePlayback, ASentenceBelowTheVisibleAreaScrollsOnePageDown) {
    WriteSound("five.wav", 1000);
    Open(lessontest::LessonXml({{"alls", Sentence(5, "five.wav", Word(0, 10, "far", "True", 2000))}}));
    panel->show();
    QCoreApplication::processEvents();
    ASSERT_EQ(box->verticalScrollBar()->value(), 0);
    ASSERT_GT(box->verticalScrollBar()->maximum(), box->verticalScrollBar()->pageStep());
    Run("[0,0,5,1]");
    EXPECT_EQ(box->verticalScrollBar()->value(), box->verticalScrollBar()->pageStep());
}

TEST_F(PagePlayback, PlayRuleRunsTheFunctionsRuleAndRecitingHidesWords) {
    OpenSentences("False");
    ovtest::WriteFile(dir / "page.ovb",
                      lessontest::LessonXml({{"TitleRecites", "<rule Id=\"0\">[0,0,6,1]</rule>"}}));
    ov::PlayRule(*box, ov::rTitleRecite, 0);
    EXPECT_EQ(box->RuleKind(), ov::rTitleRecite);
    EXPECT_TRUE(Words(5)[0]->isHidden());
    EXPECT_FALSE(Words(5)[1]->isHidden());
}

}  // namespace
