#include "present/ReadingCheck.h"

#include "audio/WaveInput.h"
#include "present/SentenceWord.h"
#include "present/SoundInfoPanel.h"

#include "TestApp.h"
#include "support/TestFiles.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// The sentence as words on a page, and a reading of it made by espeak-ng.
class ReadingCheckTest : public testing::Test {
protected:
    void SetUp() override {
        ovtest::TestApp();
        page = std::make_unique<QWidget>();
        info = std::make_unique<ov::SoundInfoPanel>(home.path(), ov::SdlWaveInputDriver());
        for (const char* text : {"Good", "morning,", "boys", "and", "girls!", "——"}) {
            ov::TRSentence record;
            record.Text = text;
            words.append(new ov::SentenceWord(page.get(), record));
        }
    }

    QString Reading(const std::string& said) {
        const auto wav = home / "reading.wav";
        const std::string command = "espeak-ng -w '" + wav.string() + "' '" + said + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
        return QString::fromStdString(wav.string());
    }

    QStringList Missed() const {
        QStringList missed;
        for (const ov::SentenceWord* word : words) {
            EXPECT_EQ(word->accessibleDescription(), word->Missed() ? QStringLiteral("没听清") : QString());
            if (word->Missed()) missed << word->text();
        }
        return missed;
    }

    ovtest::TempDir home;
    std::unique_ptr<QWidget> page;
    QList<ov::SentenceWord*> words;
    std::unique_ptr<ov::SoundInfoPanel> info;
};

TEST_F(ReadingCheckTest, MissedWordsAreMarkedUntilCleared) {
    ov::ReadingCheck& check = *info->Reading;
    QSignalSpy judged(&check, &ov::ReadingCheck::judged);
    check.Start(words, Reading("Good morning, and girls!"));
    EXPECT_TRUE(check.Busy());
    // Nothing shows while the worker listens.
    EXPECT_TRUE(Missed().isEmpty());
    EXPECT_TRUE(info->WordCount->isHidden());
    ASSERT_TRUE(judged.wait(60000));
    EXPECT_FALSE(check.Busy());
    EXPECT_EQ(Missed(), QStringList{"boys"});
    EXPECT_EQ(info->WordCount->text(), QStringLiteral("读清楚了 4/5 个单词"));
    EXPECT_FALSE(info->WordCount->isHidden());

    check.Clear();
    EXPECT_TRUE(Missed().isEmpty());
    EXPECT_TRUE(info->WordCount->isHidden());
}

TEST_F(ReadingCheckTest, ANewerComparisonReplacesAnOlderOne) {
    ov::ReadingCheck& check = *info->Reading;
    QSignalSpy judged(&check, &ov::ReadingCheck::judged);
    const QString reading = Reading("Good morning, and girls!");
    check.Start(words, reading);
    check.Start(words.mid(0, 2), reading);
    ASSERT_TRUE(judged.wait(60000));
    QTest::qWait(200);
    ASSERT_EQ(judged.count(), 1);
    EXPECT_EQ(judged.first().first().value<ov::ReadingFeedback>().words.size(), 2u);

    // A recording that cannot be read leaves the page as it was.
    check.Start(words, QString::fromStdString((home / "missing.wav").string()));
    QTRY_VERIFY_WITH_TIMEOUT(!check.Busy(), 10000);
    EXPECT_EQ(judged.count(), 1);
    EXPECT_TRUE(Missed().isEmpty());
}

}  // namespace
