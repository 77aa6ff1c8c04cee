#include "StudyWindow.h"

#include "lesson/FunctionIndexFile.h"
#include "present/MovieControl.h"
#include "shell/CollapsiblePanel.h"
#include "shell/FunctionColumn.h"
#include "study/WordPanel.h"
#include "support/SilentSound.h"

#include <QLabel>
#include <QLineEdit>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <random>

namespace {

namespace fs = std::filesystem;

const char* const kPage = R"(<?xml version="1.0" encoding="GB2312"?>
<OVENG ver="6.0"><res><alls><s Id="1" Audio="" Font_Size="20" Font_Style="宋体" Font_Color="0" RuleStyle="0" RuleId="1">
<w Id="1" Top="20" Left="20" Visible="True" CanMove="False">PAGE</w></s></alls>
<alli/><allbutton/><allradio/><alledit/><allShape/><allFlash/></res>
<rules><Titles/><Others><sentences/><images/><buttons/><radios/><edits/></Others><Sencens/>
<Trainings><WordFollowReads/><SentenceFollowReads/><WordFollowWrites/><SentenceFollowWrites/><ArrangeWords/><ArrangeSentences/><Discerns/></Trainings>
<Entertains><RoleActs/><TitleRecites/></Entertains><WordEden/><Games/><Musics/><Tests/><WorldExtends/><Importants/><Encampments/></rules></OVENG>)";

// Three sentence pages, one test page and a word list.
class MainWindowStudy : public ovtest::StudyWindowTest {
protected:
    void FillClass(const fs::path& cls) override {
        for (const char* page : {"p1.ov", "p2.ov", "p3.ov", "t1.ov"}) WritePage(cls / page, kPage);
        {
            ov::FunctionIndexFile index(cls, "OVFunction.ind", true);
            index.SetPageList(ov::rSentenceFollowRead, "p1.ov|p2.ov|p3.ov");
            index.SetPageList(ov::rTest, "t1.ov");
            index.Save();
        }
        ovtest::WriteWords(ov::WordDbPath(cls.string()), {{"apple", "ˈæpl", "苹果", "An apple."}, {"pear", "peə", "梨", ""}},
                           Deciphered(ov::kWordDbPassword, ov::kDefaultCipherKey));
        for (const char* sound : {"w_apple.wav", "w_pear.wav"}) ASSERT_TRUE(ovtest::WriteSilence(cls / sound, 300));
    }

    ov::TWordPanel& Words() const { return *window->WordPanel(); }
    bool Drilling() const { return Words().Drill().CurrentState() != ov::WordDrill::State::kIdle; }
    // Runs `click` every `ms` while the drill that "开始" began plays on.
    void ClickDuringTheDrill(int ms, int times, const std::function<void()>& click) {
        QTimer clicks;
        int left = times;
        QObject::connect(&clicks, &QTimer::timeout, [&] {
            if (--left == 0) clicks.stop();
            click();
        });
        clicks.start(ms);
        Words().BtnWordStart->click();
        EXPECT_TRUE(QTest::qWaitFor([&] { return left == 0; }, 20000));
    }
};

TEST_F(MainWindowStudy, LessonClickUnpacksIntoAFreshLetterAndShowsTheWordPreview) {
    fs::create_directories(home / "Resources" / "notes");
    ClickOn("01");
    EXPECT_TRUE(fs::exists(home / "Resources" / "notes")) << "a textbook node opens nothing";
    QSignalSpy gauge(window->PanelSizeLeft->UnpackBar, &QProgressBar::valueChanged);
    OpenLesson();

    const ov::FolderLetters first = Letters();
    ASSERT_EQ(first.newFolder.size(), 1);
    EXPECT_TRUE(first.oldFolder.isEmpty());
    EXPECT_EQ(window->State().ClassPath, (home / "Resources" / first.newFolder.toStdString() / "OV" / "Class").string());
    EXPECT_TRUE(fs::exists(fs::path(window->State().ClassPath) / "OVFunction.ind"));
    EXPECT_FALSE(fs::exists(home / "Resources" / "notes"));
    EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral("   ") + kLesson));
    EXPECT_FALSE(window->PanelLeftFunction->isHidden());
    EXPECT_TRUE(window->PanelSizeLeft->IsCollapsed());
    EXPECT_FALSE(window->WordPanel()->isHidden());
    EXPECT_EQ(window->WordPanel()->WordEdit->text(), "apple");
    EXPECT_GT(gauge.count(), 2) << "the bar moves while the members are written";

    ClickOn("01010101");
    const ov::FolderLetters second = Letters();
    EXPECT_EQ(second.oldFolder, first.newFolder);
    EXPECT_NE(second.newFolder, first.newFolder);
    ClickOn("01010101");
    const ov::FolderLetters third = Letters();
    EXPECT_FALSE(fs::exists(home / "Resources" / first.newFolder.toStdString())) << "beyond the last two";
    EXPECT_TRUE(fs::exists(home / "Resources" / second.newFolder.toStdString()));
    EXPECT_TRUE(fs::exists(home / "Resources" / third.newFolder.toStdString()));
}

TEST_F(MainWindowStudy, NoMoreThanTwoLetterFoldersEvenWhileALessonUnpacks) {
    const fs::path resources = home / "Resources";
    OpenLesson();
    ClickOn("01010101");
    // The bar's steps let timers run, so this one looks in while the third
    // lesson is half written.
    size_t most = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        size_t letters = 0;
        for (const auto& entry : fs::directory_iterator(resources))
            if (entry.is_directory() && entry.path().filename().string().size() == 1) ++letters;
        most = std::max(most, letters);
    });
    watch.start(0);
    ClickOn("01010101");
    EXPECT_EQ(most, 2u);
}

// Courseware the player may not write, as an installed shared folder: the
// lesson unpacks, its pages decrypt and recordings go into the pupil's own
// data folder, swept there as in a one-folder install; the courseware folder
// is left exactly as it was.
TEST_F(MainWindowStudy, ReadOnlyCoursewareIsStudiedFromThePupilsOwnFolder) {
    ovtest::TempDir pupil;
    ov::FolderEnvironment env;
    env.ovHome = home.path().string();
    env.dataHome = pupil.path().string();
    env.writable = [this](const fs::path& folder) { return folder != home.path(); };
    const auto listing = [this] {
        std::vector<fs::path> paths;
        for (const auto& entry : fs::recursive_directory_iterator(home.path())) paths.push_back(entry.path());
        std::sort(paths.begin(), paths.end());
        return paths;
    };
    window.reset();
    const auto before = listing();
    window = std::make_unique<ov::MainWindow>(*dm, ov::DataFolders::Find(env));
    window->TimerFormShowTimer();
    const fs::path own = pupil / "ovplayer";
    fs::create_directories(own / "Resources" / "stale");

    OpenLesson();
    window->FunctionButtonClick(ov::rSentenceFollowRead);
    const std::string letter = Letters().newFolder.toStdString();
    ASSERT_EQ(letter.size(), 1u);
    EXPECT_EQ(window->State().ClassPath, (own / "Resources" / letter / "OV" / "Class").string());
    EXPECT_TRUE(fs::exists(own / "Resources" / letter / "OV" / "Class" / "p1.ovb"));
    EXPECT_FALSE(fs::exists(own / "Resources" / "stale"));
    EXPECT_TRUE(fs::is_directory(own / "Records"));
    EXPECT_EQ(listing(), before);
}

TEST_F(MainWindowStudy, FunctionOpensItsFirstPageAndPagesTurn) {
    OpenLesson();
    window->FunctionButtonClick(ov::rSentenceFollowRead);
    ov::LessonPanel& panel = Panel();
    EXPECT_TRUE(window->WordPanel()->isHidden());
    ASSERT_TRUE(panel.Box->Active());
    EXPECT_EQ(BoxFile(), "p1.ovb");
    EXPECT_EQ(panel.labPage->text(), QStringLiteral("第1页/共3页"));
    EXPECT_FALSE(panel.firstBtn->isEnabled());
    EXPECT_TRUE(panel.LastBtn->isEnabled());
    EXPECT_EQ(ShownOperations(), (std::vector<QString>{"开始", "停止", "录音", "播放", "对比"}));
    EXPECT_EQ(window->State().Reading, ov::RecordState::PageShown);

    struct Turn {
        void (ov::MainWindow::*handler)();
        const char* file;
        const char* label;
        bool firstPrior, nextLast;
    } turns[] = {
        {&ov::MainWindow::ShowLastPage, "p3.ovb", "第3页/共3页", true, false},
        {&ov::MainWindow::ShowNextPage, "p3.ovb", "第3页/共3页", true, false},
        {&ov::MainWindow::ShowPriorPage, "p2.ovb", "第2页/共3页", true, true},
        {&ov::MainWindow::ShowPriorPage, "p1.ovb", "第1页/共3页", false, true},
        {&ov::MainWindow::ShowNextPage, "p2.ovb", "第2页/共3页", true, true},
        {&ov::MainWindow::ShowFirstPage, "p1.ovb", "第1页/共3页", false, true},
    };
    for (const Turn& turn : turns) {
        (window.get()->*turn.handler)();
        EXPECT_TRUE(panel.Box->Active()) << turn.file;
        EXPECT_EQ(BoxFile(), turn.file);
        EXPECT_EQ(panel.labPage->text(), QString::fromUtf8(turn.label));
        EXPECT_EQ(panel.pirorBtn->isEnabled(), turn.firstPrior) << turn.label;
        EXPECT_EQ(panel.NextBtn->isEnabled(), turn.nextLast) << turn.label;
    }
    const fs::path cls = window->State().ClassPath;
    EXPECT_TRUE(fs::exists(cls / "p3.ovb")) << "turning pages sweeps nothing";

    window->FunctionButtonClick(ov::rTest);
    EXPECT_EQ(BoxFile(), "t1.ovb");
    EXPECT_FALSE(fs::exists(cls / "p3.ovb")) << "the previous function's pages are swept";
    EXPECT_TRUE(panel.NextBtn->isHidden());
    EXPECT_TRUE(panel.labPage->text().isEmpty());
    EXPECT_EQ(ShownOperations(), (std::vector<QString>{"开始", "停止", "<<", ">>", "统计", "答案"}));
    EXPECT_FALSE(window->PanelBottomShowOperation->BtnPrior->isEnabled());
    EXPECT_TRUE(window->PanelBottomShowOperation->BtnNext->isEnabled());

    // A function without pages leaves the page and the bar as they were.
    window->FunctionButtonClick(ov::rEncampment);
    EXPECT_EQ(BoxFile(), "t1.ovb");
    EXPECT_EQ(ShownOperations().size(), 6u);
    EXPECT_EQ(Panel().Box->RuleKind(), ov::rEncampment);
}

// A pupil who clicks the word preview, the lesson or "开始" again while the
// drill plays: each ends the drill or is ignored; none reads the word list
// the preview has just replaced.
TEST_F(MainWindowStudy, ClicksDuringTheDrillEndItOrAreIgnored) {
    OpenLesson();
    ClickDuringTheDrill(700, 4, [&] {
        window->PanelLeftFunction->BtnWordRepare->click();
        EXPECT_FALSE(Drilling()) << "the preview ends the drill";
        EXPECT_EQ(Words().WordEdit->text(), "apple");
        EXPECT_EQ(Words().WordNumber->text(), "1");
        Words().BtnWordStart->click();
        Words().BtnWordStart->click();
        EXPECT_TRUE(Drilling());
    });
    ClickDuringTheDrill(1200, 1, [&] { ClickOn("01010101"); });
    EXPECT_FALSE(Drilling()) << "a lesson click ends the drill";
    EXPECT_EQ(Words().WordNumber->text(), "1");

    ClickDuringTheDrill(1200, 1, [&] { window->PanelLeftFunction->Button(ov::rSentenceFollowRead)->click(); });
    EXPECT_FALSE(Drilling()) << "another function ends the drill";
    Words().BtnWordStart->click();
    EXPECT_FALSE(Drilling()) << "and leaves no word list to drill";

    window->PanelLeftFunction->BtnWordRepare->click();
    Words().BtnWordStart->click();
    window->close();
    EXPECT_FALSE(Drilling()) << "closing the window ends the drill";
}

// A lesson with a 30 MB member that does not compress.
class MainWindowLargeLesson : public MainWindowStudy {
protected:
    void FillClass(const fs::path& cls) override {
        MainWindowStudy::FillClass(cls);
        std::string noise(30 << 20, '\0');
        std::mt19937 random(7);
        for (char& byte : noise) byte = static_cast<char>(random());
        ovtest::WriteFile(cls / "video.avi", noise);
    }
};

TEST_F(MainWindowLargeLesson, TheWindowAnswersWhileTheLessonUnpacksAndThePauseRuns) {
    qint64 longest = 0;
    QElapsedTimer clock;
    QTimer beat;
    QObject::connect(&beat, &QTimer::timeout, [&] { longest = std::max(longest, clock.restart()); });
    clock.start();
    beat.start(20);
    OpenLesson();
    beat.stop();
    EXPECT_LT(longest, 100);
    EXPECT_EQ(Words().WordEdit->text(), "apple");
    EXPECT_EQ(fs::file_size(fs::path(window->State().ClassPath) / "video.avi"), 30u << 20);
}

// The pupil chooses a function while the lesson still opens: it opens once
// the lesson has, instead of the click being lost.
TEST_F(MainWindowLargeLesson, AFunctionChosenWhileTheLessonOpensOpensAfterIt) {
    OpenLesson();
    ov::CatalogueTree* tree = window->Catalogue;
    tree->Click(tree->Model().Find("01010101"));
    ASSERT_TRUE(window->OpeningLesson());
    window->PanelLeftFunction->Button(ov::rSentenceFollowRead)->click();
    EXPECT_FALSE(Panel().Box->Active()) << "not while the lesson's folder is written";
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window->OpeningLesson(); }, 60000));
    EXPECT_TRUE(Panel().Box->Active());
    EXPECT_EQ(Panel().Box->RuleKind(), ov::rSentenceFollowRead);
    EXPECT_TRUE(Words().isHidden());
}

TEST_F(MainWindowStudy, MissingPackageStillShowsTheColumnOnThePreviousLesson) {
    for (const auto& entry : fs::directory_iterator(home / "Resources")) fs::remove_all(entry.path());
    OpenLesson();
    EXPECT_TRUE(window->State().ClassPath.empty());
    EXPECT_TRUE(Letters().newFolder.isEmpty());
    EXPECT_FALSE(window->PanelLeftFunction->isHidden());
}

// Pointing at a button and tabbing to it: how a pupil shows where they go next.
void Approach(QWidget* button) {
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(button, &enter);
    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(button, &focus);
}

TEST_F(MainWindowStudy, MovieButtonsStartNoWebEngineOnALessonWithoutMovies) {
    OpenLesson();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window->OpeningLesson(); }, 20000));
    for (ov::TOVRule kind : {ov::rMusic, ov::rEncampment, ov::rGames}) Approach(window->PanelLeftFunction->Button(kind));
    EXPECT_FALSE(ov::MovieEngineLoaded());
}

// A lesson whose index lists animation pages, and no songs or games.
class MainWindowMovies : public ovtest::StudyWindowTest {
protected:
    void FillClass(const fs::path& cls) override {
        for (const char* page : {"p1.ov", "m1.ov"}) WritePage(cls / page, kPage);
        ov::FunctionIndexFile index(cls, "OVFunction.ind", true);
        index.SetPageList(ov::rSentenceFollowRead, "p1.ov");
        index.SetPageList(ov::rEncampment, "m1.ov");
        index.Save();
    }
};

TEST_F(MainWindowMovies, OnlyAMovieFunctionWithPagesStartsTheWebEngineAhead) {
    OpenLesson();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window->OpeningLesson(); }, 20000));
    for (ov::TOVRule kind : {ov::rSentenceFollowRead, ov::rTest, ov::rMusic, ov::rGames}) {
        Approach(window->PanelLeftFunction->Button(kind));
        EXPECT_FALSE(ov::MovieEngineLoaded()) << kind;
    }
    Approach(window->PanelLeftFunction->Button(ov::rEncampment));
    EXPECT_TRUE(ov::MovieEngineLoaded());
}

}  // namespace
