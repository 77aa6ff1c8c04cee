#include <gtest/gtest.h>

#include "SpokenRecordings.h"
#include "support/TestFiles.h"
#include "speech/ProcessJudge.h"
#include "speech/ReadingJudge.h"
#include "speech/RecordingPcm.h"
#include "speech/SpeechDecoder.h"
#include "speech/SpokenText.h"

namespace ov {
namespace {

const char* const kSentence = "Good morning, boys and girls!";

class ReadingJudgeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { dir_ = new ovtest::TempDir; }
    static void TearDownTestSuite() { delete dir_; }

    static ReadingFeedback Judged(const std::string& text, const std::string& read, const std::string& effects = {}) {
        static int n = 0;
        const auto wav = ovtest::Spoken(dir_->path(), "r" + std::to_string(n++), read, effects);
        EXPECT_FALSE(wav.empty()) << "espeak-ng and sox make the readings";
        return *ProcessJudge().Judge(SplitAtSpaces(text), ReadRecording(wav.string()));
    }
    static std::vector<std::string> MissedWords(const ReadingFeedback& f) {
        std::vector<std::string> missed;
        for (const WordFeedback& w : f.words)
            if (!w.heard) missed.push_back(w.word);
        return missed;
    }

    static ovtest::TempDir* dir_;
};

ovtest::TempDir* ReadingJudgeTest::dir_ = nullptr;

TEST_F(ReadingJudgeTest, TheWordLeftOutIsTheOneMissed) {
    const ReadingFeedback f = Judged(kSentence, "Good morning, and girls!");
    ASSERT_EQ(f.words.size(), 5u);
    EXPECT_EQ(MissedWords(f), std::vector<std::string>{"boys"});
    EXPECT_EQ(f.Heard(), 4);
    EXPECT_EQ(f.Missed(), 1);
    // Heard words come in reading order; the missed one sits in their gap.
    EXPECT_LT(f.words[0].startMs, f.words[1].startMs);
    EXPECT_LE(f.words[1].endMs, f.words[2].startMs);
    EXPECT_LE(f.words[2].endMs, f.words[3].startMs);
    for (const WordFeedback& w : f.words) {
        EXPECT_GE(w.confidence, 0.0);
        EXPECT_LE(w.confidence, 1.0);
    }
}

TEST_F(ReadingJudgeTest, AnotherSentenceLeavesTheTextUnheard) {
    const ReadingFeedback f = Judged(kSentence, "It is a sunny day today.");
    EXPECT_GE(f.Missed(), 4);
}

TEST_F(ReadingJudgeTest, NothingSaidMeansEveryWordMissedNotAnError) {
    const auto silent = dir_->path() / "silent.wav";
    ASSERT_TRUE(ovtest::Sox("-n -r 16000 -c 1 " + silent.string() + " trim 0 2"));
    for (const std::vector<int16_t>& samples : {ReadRecording(silent.string()), std::vector<int16_t>{}}) {
        const ReadingFeedback f = *ProcessJudge().Judge(SplitAtSpaces(kSentence), samples);
        EXPECT_EQ(f.words.size(), 5u);
        EXPECT_EQ(f.Missed(), 5);
    }
}

TEST_F(ReadingJudgeTest, TextWithoutEnglishOrTooLongIsAnswered) {
    const std::vector<int16_t> second(16000, 0);
    for (const char* text : {"", "，。！？...", "你好，同学们！"})
        EXPECT_TRUE(ProcessJudge().Judge(SplitAtSpaces(text), second)->words.empty()) << text;
    std::string book;
    for (int i = 0; i < 2000; ++i) book += "word ";
    EXPECT_THROW(ProcessJudge().Judge(SplitAtSpaces(book), second), ESpeechError);
}

TEST_F(ReadingJudgeTest, WordsTheDictionaryLacksArePronouncedByEspeak) {
    const ReadingFeedback f = Judged("My name is Xiaoming.", "My name is Xiaoming.");
    EXPECT_TRUE(ProcessJudge().GuessedWords().count("xiaoming"));
    EXPECT_FALSE(ProcessJudge().GuessedWords().count("name"));
    EXPECT_EQ(f.words.size(), 4u);
}

TEST_F(ReadingJudgeTest, ACancelledJudgementGivesNothing) {
    const std::vector<int16_t> second(16000, 100);
    EXPECT_FALSE(ProcessJudge().Judge(SplitAtSpaces(kSentence), second, [] { return true; }).has_value());
}

}  // namespace
}  // namespace ov
