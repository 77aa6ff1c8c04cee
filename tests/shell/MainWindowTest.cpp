#include "shell/MainWindow.h"

#include "present/LessonPanel.h"
#include "present/SoundInfoPanel.h"
#include "present/RecordDisplay.h"

#include "shell/CollapsiblePanel.h"
#include "shell/FunctionColumn.h"
#include "shell/HelpPage.h"
#include "shell/OpeningAnimation.h"
#include "shell/OperationBar.h"
#include "store/LessonData.h"
#include "study/WordPanel.h"

#include "TestApp.h"
#include "support/TestFiles.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class MainWindow : public testing::Test {
protected:
    void SetUp() override {
        ovtest::TestApp();
        window = std::make_unique<ov::MainWindow>(dm, ov::DataFolders::InOneFolder(home.path()));
    }

    ovtest::TempDir home;
    ov::LessonData dm;
    std::unique_ptr<ov::MainWindow> window;
};

TEST_F(MainWindow, EveryRegionCarriesItsName) {
    const char* names[] = {
        "PanelTop", "TopButtons", "ShopButton", "HomeButton", "RecordButton", "HelpButton", "CloseButton",
        "PanelSizeLeft", "CoursewareCaption", "UnpackBar", "PanelLeftFunction", "PanelTopFunction", "Lesson",
        "PWord", "PanelBottomShow", "PanelSystemSet", "PanelBottomShowOperation", "BtnStart", "BtnStop",
        "BtnStudySing", "BtnPrior", "BtnNext", "BtnRecord", "BtnPlay", "BtnCompare", "BtnStat", "BtnResult",
        "BtnExit", "BtnWordRepare", "BtnWordFollowRead", "BtnWordFollowWrite", "BtnSentenceFollowRead",
        "BtnDiscern", "BtnRoleAct", "BtnTest", "BtnMusic", "BtnEncampment", "BtnGames"};
    for (const char* name : names) EXPECT_NE(window->findChild<QWidget*>(name), nullptr) << name;

    EXPECT_EQ(window->windowTitle(), "朗悦行教材(电脑)学习机");
    EXPECT_EQ(window->PanelSizeLeft->CoursewareCaption->text(), "请选择下面课件:");
    EXPECT_EQ(window->PanelSizeLeft->UnpackBar->height(), 15);
    EXPECT_EQ(window->PanelLeftFunction->Button(ov::rSentenceFollowRead)->text(), "句子跟读");
    EXPECT_EQ(window->PanelBottomShowOperation->BtnPrior->text(), "<<");
}

TEST_F(MainWindow, FormCreateLeavesTheOperationBarEmpty) {
    for (QPushButton* button : window->PanelBottomShowOperation->OperationButtons())
        EXPECT_TRUE(button->isHidden()) << button->objectName().toStdString();
    EXPECT_FALSE(window->PanelBottomShowOperation->BtnExit->isHidden());
    EXPECT_TRUE(window->OpeningStyle().has_value());
}

TEST_F(MainWindow, OperationButtonsLineUpFromTheLeftAndExitKeepsToTheRight) {
    window->resize(1280, 800);
    window->show();
    auto* bar = window->PanelBottomShowOperation;
    window->ArrangeOperationButtons({ov::TOperationButton::Start, ov::TOperationButton::Stop, ov::TOperationButton::Record});
    window->ArrangeOperationButtons({ov::TOperationButton::Start, ov::TOperationButton::Prior, ov::TOperationButton::Next});
    EXPECT_EQ(bar->BtnStart->geometry(), QRect(20, 8, 75, 25));
    EXPECT_EQ(bar->BtnPrior->pos(), QPoint(115, 8));
    EXPECT_EQ(bar->BtnNext->pos(), QPoint(210, 8));
    EXPECT_TRUE(bar->BtnStop->isHidden());
    EXPECT_TRUE(bar->BtnRecord->isHidden());

    for (int width : {1280, 1920}) {
        window->resize(width, 800);
        QCoreApplication::processEvents();
        EXPECT_EQ(bar->BtnExit->x(), bar->width() - bar->BtnExit->width() - 25) << width;
    }
}

TEST_F(MainWindow, ShowingHidesTheFunctionColumnPrunesAndRestoresTheSidePanel) {
    for (int i = 1; i <= 12; ++i) ovtest::WriteFile(home / "Records" / ("202401011200" + std::to_string(10 + i) + ".wav"), "");
    window->PanelLeftFunction->show();
    window->PanelSizeLeft->Collapse();
    window->show();
    EXPECT_TRUE(window->PanelLeftFunction->isHidden());
    EXPECT_FALSE(window->PanelSizeLeft->IsCollapsed());
    EXPECT_EQ(window->PanelSizeLeft->width(), 185);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home / "Records"), {}), 9);
}

TEST_F(MainWindow, SidePanelFoldsToItsBarAndBack) {
    window->show();
    auto* panel = window->PanelSizeLeft;
    auto* bar = panel->findChild<QWidget*>("PanelSizeLeftBar");
    ASSERT_NE(bar, nullptr);
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(3, bar->height() / 2));
    EXPECT_TRUE(panel->IsCollapsed());
    EXPECT_EQ(panel->width(), 7);
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(3, 2));
    EXPECT_TRUE(panel->IsCollapsed()) << "only the hot spot folds the panel";
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(3, bar->height() / 2));
    EXPECT_FALSE(panel->IsCollapsed());
    EXPECT_EQ(panel->width(), 185);

    auto* tree = new QLabel("tree");
    panel->SetCatalogueTree(tree);
    EXPECT_EQ(tree->objectName(), "CatalogueTree");
    EXPECT_TRUE(panel->isAncestorOf(tree));
    EXPECT_TRUE(tree->isVisible());
}

// The window is wired and the recordings folder made as the window is made;
// only the catalogue waits for the deferred set-up, which runs once.
TEST_F(MainWindow, DeferredSetUpLoadsTheCatalogueOnce) {
    EXPECT_TRUE(std::filesystem::is_directory(home / "Records"));
    EXPECT_EQ(window->Panel()->InfoPanel->Recorder->Recorder().RecordFolder(), (home / "Records").string() + "/");
    QLabel& line = *window->PanelSizeLeft->CoursewareCaption;

    window->show();
    QTest::qWait(ov::MainWindow::kDeferredSetUpMs + ov::OpeningAnimation::kDurationMs / 4);
    EXPECT_EQ(line.text(), "课件目录无法打开") << "the catalogue was looked for; there is none";
    line.setText("once");
    window->hide();
    window->show();
    QTest::qWait(ov::MainWindow::kDeferredSetUpMs + 100);

    EXPECT_EQ(line.text(), "once");
    EXPECT_FALSE(window->TimerFormShow->isActive());
    EXPECT_TRUE(window->mask().isEmpty()) << "the opening animation must uncover the whole window";
}

TEST_F(MainWindow, ExitStopsTheWordDrillAndClosesTheWindow) {
    window->show();
    QTest::mouseClick(window->PanelBottomShowOperation->BtnExit, Qt::LeftButton);
    EXPECT_TRUE(window->State().StopWord);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->Panel(), nullptr);
}

TEST_F(MainWindow, LessonPanelAndWordPanelFillTheContentArea) {
    ASSERT_NE(window->Panel(), nullptr);
    EXPECT_EQ(window->Panel()->objectName(), "Lesson");
    EXPECT_TRUE(window->PanelTopFunction->isAncestorOf(window->Panel()));
    EXPECT_EQ(window->findChildren<QWidget*>("PWord").size(), 1);
    EXPECT_TRUE(window->PanelTopFunction->isAncestorOf(window->WordPanel()));
}

TEST(HelpPage, OldHelpFileFirstThenOurPage) {
    ovtest::TempDir home, prefix;
    const std::filesystem::path program = prefix / "bin";
    EXPECT_EQ(ov::FindHelpFile(home.path(), program), std::filesystem::path());
    // An installed tree keeps the page with the program's other data.
    ovtest::WriteFile(prefix / "share/ovplayer/ovhelp.html", "<html>");
    EXPECT_EQ(ov::FindHelpFile(home.path(), program), prefix / "share/ovplayer/ovhelp.html");
    ovtest::WriteFile(program / "ovhelp.html", "<html>");
    EXPECT_EQ(ov::FindHelpFile(home.path(), program), program / "ovhelp.html");
    ovtest::WriteFile(home / "ovhelp.html", "<html>");
    EXPECT_EQ(ov::FindHelpFile(home.path(), program), home / "ovhelp.html");
    ovtest::WriteFile(home / "ovhelp.chm", "ITSF");
    EXPECT_EQ(ov::FindHelpFile(home.path(), program), home / "ovhelp.chm");
}

}  // namespace
