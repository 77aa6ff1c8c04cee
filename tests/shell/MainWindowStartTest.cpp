#include "StudyWindow.h"

#include "LessonText.h"

#include "lesson/FunctionIndexFile.h"
#include "shell/CollapsiblePanel.h"
#include "shell/FunctionColumn.h"
#include "shell/StartScreen.h"
#include "study/WordPanel.h"

#include <QLabel>

namespace {

namespace fs = std::filesystem;

// The start screen of a window over one lesson, "01010101", below textbook
// "01", grade "0101" and unit "010101".
class MainWindowStart : public ovtest::StudyWindowTest {
protected:
    void FillClass(const fs::path& cls) override {
        WritePage(cls / "p1.ov", lessontest::LessonXml());
        ov::FunctionIndexFile index(cls, "OVFunction.ind", true);
        index.SetPageList(ov::rSentenceFollowRead, "p1.ov");
        index.Save();
    }

    // The player started again on the same folders and settings.
    void Restart() {
        window.reset();
        dm = std::make_unique<ov::LessonData>();
        window = std::make_unique<ov::MainWindow>(*dm, ov::DataFolders::InOneFolder(home.path()));
        window->resize(1200, 800);
        window->TimerFormShowTimer();
    }
    ov::StartScreen& Start() const { return *window->StartPanel; }
    bool Offered() const { return !Start().ResumeBox->isHidden(); }
};

TEST_F(MainWindowStart, TheLessonOpenedIsOfferedAtTheNextStartAndOpensAsFromTheTree) {
    EXPECT_FALSE(Start().isHidden());
    EXPECT_TRUE(Panel().isHidden()) << "nothing of the lesson panel is reached behind it";
    EXPECT_EQ(Start().Heading->text(), "请在左边的课本目录里选一课");
    EXPECT_FALSE(Offered()) << "nothing opened yet";

    OpenLesson();
    EXPECT_TRUE(Start().isHidden());
    EXPECT_FALSE(Panel().isHidden());
    const int walked = window->PanelSizeLeft->ExpandedWidth();
    // On disk at once, not when the player ends: a player that is killed
    // still offers the lesson.
    EXPECT_NE(ovtest::ReadFile(ov::OpenOrvaneSettings()->fileName().toStdString()).find("LastLesson=01010101"),
              std::string::npos);

    Restart();
    ASSERT_TRUE(Offered());
    const QString where = QStringLiteral("课件 01 · 课件 010101 · 课件 01010101");
    EXPECT_EQ(Start().ResumeWhere->text(), QStringLiteral("上次学到：") + where);
    EXPECT_EQ(Start().BtnResume->text(), "继续学习");
    EXPECT_EQ(Start().BtnResume->accessibleDescription(), where);

    Start().BtnResume->click();
    EXPECT_TRUE(QTest::qWaitFor([this] { return !window->OpeningLesson(); }, 60000));
    EXPECT_TRUE(Start().isHidden());
    EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral("   ") + kLesson));
    EXPECT_EQ(window->Catalogue->currentIndex().data(ov::CatalogueModel::CodeRole), "01010101");
    EXPECT_FALSE(window->PanelLeftFunction->isHidden());
    EXPECT_FALSE(window->WordPanel()->isHidden());
    EXPECT_EQ(window->PanelSizeLeft->ExpandedWidth(), walked) << "the side panel widened as by the pupil's clicks";
}

// The catalogue may have changed since the lesson was opened.
TEST_F(MainWindowStart, OnlyALessonTheCatalogueStillHasIsOffered) {
    const std::pair<const char*, bool> cases[] = {
        {"01010101", true}, {"01019901", false}, {"010101", false}, {"01", false}, {"", false}, {"01'", false},
    };
    for (const auto& [code, offered] : cases) {
        ov::WriteLastLesson(*ov::OpenOrvaneSettings(), QString::fromUtf8(code));
        Restart();
        EXPECT_EQ(Offered(), offered) << code;
    }
}

TEST_F(MainWindowStart, WithoutCoursewareItTellsHowATeacherAddsSome) {
    ov::WriteLastLesson(*ov::OpenOrvaneSettings(), QStringLiteral("01010101"));
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"no catalogue", [this] { fs::remove_all(home / "DB"); }},
        {"an empty catalogue",
         [this] { ovtest::WriteCatalogue(home / "DB/RsDbList.db", {}, Deciphered(ov::kCatalogueDbPassword, "")); }},
    };
    for (const auto& [what, make] : cases) {
        make();
        Restart();
        EXPECT_EQ(Start().Heading->text(), "没有找到课件") << what;
        EXPECT_TRUE(Start().Guide->text().contains("ovtool install-courseware")) << what;
        EXPECT_FALSE(Offered()) << what;
    }
}

}  // namespace
