#include "TestApp.h"

#include "shell/RecordWindow.h"
#include "store/ProgressStore.h"
#include "support/TestFiles.h"

#include <QChartView>
#include <QListWidget>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

ov::ReadingScore Score(const std::string& lesson, int32_t sentence, double score, int64_t at) {
    return {lesson, 9, 1, {sentence}, "sentence " + std::to_string(sentence), score, {}, at};
}

TEST(RecordWindow, ShowsLessonsChartLinesAndPlacesToPractise) {
    ovtest::TestApp();
    ovtest::TempDir dir;
    const auto file = dir / "progress.db";
    {
        auto store = ov::ProgressStore::OpenForPlayer(file, 0);
        // More lessons than the chart has lines for; lesson 9 was opened last.
        for (int lesson = 0; lesson < ov::RecordWindow::kMaxChartLessons + 2; ++lesson) {
            const std::string code = "01" + std::to_string(10 + lesson);
            store->Record(ov::LessonOpened{code, "Lesson " + std::to_string(lesson), 1000 + lesson * 100});
            store->Record(Score(code, lesson, 40 + lesson, 1000 + lesson * 100 + 10));
            store->Record(ov::LessonClosed{code, 1000 + lesson * 100 + 70});
        }
    }
    ov::RecordWindow window(file);
    EXPECT_EQ(window.SeriesCount(), ov::RecordWindow::kMaxChartLessons);
    EXPECT_EQ(window.Chart->chart()->series().size(), ov::RecordWindow::kMaxChartLessons);
    EXPECT_EQ(window.Chart->accessibleDescription(), QStringLiteral("8 条曲线"));
    ASSERT_EQ(window.Lessons->rowCount(), ov::RecordWindow::kMaxChartLessons + 2);
    EXPECT_EQ(window.Lessons->item(0, 0)->text(), QStringLiteral("Lesson 9"));
    EXPECT_EQ(window.Lessons->item(0, 1)->text(), QStringLiteral("1 分钟"));
    EXPECT_EQ(window.Lessons->item(0, 4)->text(), QStringLiteral("49"));
    ASSERT_EQ(window.Practise->count(), ov::RecordWindow::kPractiseItems);
    EXPECT_TRUE(window.Practise->item(0)->text().startsWith(QStringLiteral("句子：sentence 0\n")));

    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QRect first = window.Practise->visualItemRect(window.Practise->item(0));
    QTest::mouseClick(window.Practise->viewport(), Qt::LeftButton, {}, first.center());
    ASSERT_TRUE(window.Chosen());
    EXPECT_EQ(window.Chosen()->lesson, "0110");
    EXPECT_EQ(window.Chosen()->function, 9);
    EXPECT_EQ(window.result(), QDialog::Accepted);
}

TEST(RecordWindow, AnEmptyOrDamagedRecordShowsEmpty) {
    ovtest::TestApp();
    ovtest::TempDir dir;
    ovtest::WriteFile(dir / "damaged.db", std::string(4096, 'x'));
    for (const auto& file : {dir / "missing.db", dir / "damaged.db", std::filesystem::path()}) {
        SCOPED_TRACE(file.string());
        ov::RecordWindow window(file);
        EXPECT_EQ(window.SeriesCount(), 0);
        EXPECT_EQ(window.Lessons->rowCount(), 0);
        ASSERT_EQ(window.Practise->count(), 1);
        EXPECT_FALSE(window.Practise->item(0)->flags() & Qt::ItemIsEnabled);
    }
    EXPECT_EQ(ovtest::ReadFile(dir / "damaged.db"), std::string(4096, 'x'));
}

}  // namespace
