#pragma once

#include "core/DataFolders.h"
#include "lesson/LessonRecords.h"
#include "present/StudyFunctions.h"
#include "net/CoursewareMirror.h"
#include "shell/CatalogueTree.h"
#include "store/CatalogueLevels.h"
#include "speech/ReadingFeedback.h"
#include "store/ProgressRecords.h"
#include "study/StudyState.h"
#include "study/FunctionPages.h"

#include <QList>
#include <QStringList>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QMenu;
class QPushButton;
class QTimer;

namespace ov {

class CatalogueTree;
class CoursewareServer;
struct CatalogueNodeClick;
class CollapsiblePanel;
class FunctionColumn;
class LessonUnpacker;
class OperationBar;
class LessonData;
class TFunctionConductor;
class LessonPanel;
class ProgressRecorder;
struct TPageStatistics;
class StartScreen;
class TopBarPanel;
class TWordPanel;

// The one main window: top bar, catalogue side panel, study-function column,
// content area and operation bar.
class MainWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kDeferredSetUpMs = 1000;
    // The full bar stays up this long after a lesson is unpacked.
    static constexpr int kUnpackPauseMs = 1000;

    // Results go to `progress`; without one nothing is recorded.
    MainWindow(LessonData& dm, DataFolders folders, ProgressRecorder* progress = nullptr);
    ~MainWindow() override;

    StudyState& State() { return state_; }
    LessonData& DataModule() { return dm_; }
    const DataFolders& Folders() const { return folders_; }

    void ArrangeOperationButtons(const std::vector<TOperationButton>& shown);

    LessonPanel* Panel() const { return Lesson; }
    TWordPanel* WordPanel() const { return PWord; }
    TFunctionConductor& Conductor() { return *conductor_; }

    // A second copy of the program asked for this window.
    void BringToFront();

    // The opening style this start animates with; none when settings are not writable.
    std::optional<int> OpeningStyle() const { return openingStyle_; }

    void TimerFormShowTimer();
    void BtnExitClick();

    // The operation bar's recording buttons; they act only in the study
    // functions where the pupil reads aloud.
    void BtnRecordClick();
    void BtnPlayClick();
    void BtnCompareClick();
    // Keeps a "对比" score of the sentence heard last on the page shown,
    // with what the reading feedback heard of each word when it has run.
    void RecordScore(double score, std::vector<RecordedWord> words = {});
    // A score whose words are being judged waits for them. A judgement that
    // never comes (another reading, another page) costs the words, never the
    // score: the next score or the lesson's end keeps it without them.
    void HoldScore(double score);
    void RecordWordsHeard(const ReadingFeedback& feedback);
    void RecordHeldScore();
    ReadingScore ScoreOnPage(double score, std::vector<RecordedWord> words) const;
    // The "学习记录" window; a place to practise chosen in it opens.
    void OpenLearningRecord();
    // Opens a lesson of the catalogue at a function's page (from 1), as the
    // pupil's clicks would; false when the catalogue has no such lesson.
    bool OpenLessonAt(const std::string& code, TOVRule kind, int page);

    // Lessons the computer does not hold come from `server`, which the window
    // takes. `refreshPending`: its start-up refresh is still under way, and
    // the catalogue is read again when it brings a new one.
    void UseCoursewareServer(CoursewareServer* server, bool refreshPending);

    // Starts unpacking a class package of the courseware's Resources into a
    // fresh letter folder of the writable Resources and makes it the open
    // lesson; false when there is no such package. Failures are dropped.
    bool OpenClassPackage(const std::string& name);
    // From a lesson click until its word preview shows.
    bool OpeningLesson() const;
    // How long the full bar stays up after unpacking; timing the opening of a
    // lesson needs it without the pause.
    void SetUnpackPauseMs(int ms) { unpackPauseMs_ = ms; }
    // The word preview, also shown when a lesson is opened.
    void BtnWordPreviewClick();
    void FunctionButtonClick(TOVRule kind);

    // Page turning and the scene-sound and speed spinners of the lesson panel.
    void ShowFirstPage();
    void ShowPriorPage();
    void ShowNextPage();
    void ShowLastPage();
    void NoiseVolumeClick();
    void SoundSpeedClick();
    void NoiseMenuClick(QAction* item);

    TopBarPanel* PanelTop;
    CollapsiblePanel* PanelSizeLeft;
    FunctionColumn* PanelLeftFunction;
    QWidget* PanelTopFunction;
    QWidget* PanelBottomShow;
    QWidget* PanelSystemSet;
    OperationBar* PanelBottomShowOperation;
    QTimer* TimerFormShow;
    CatalogueTree* Catalogue = nullptr;
    QMenu* SceneSoundMenu;
    // Covers the content area until the first lesson opens.
    StartScreen* StartPanel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void BuildRegions();
    QWidget* BuildContentArea();
    QWidget* BuildBottomPanel();
    void ConnectTopBar();
    void PlaceContentPanel(QWidget* panel, const QString& name);
    void BuildLessonPanel();
    void WireLessonPanel();
    void BuildClassroomKeys();
    bool OnLessonPage() const;
    bool ReadsAloud() const;
    void OpenHelp();
    void BuildCatalogueTree();
    void LoadCatalogueTree();
    void ShowCatalogueUnavailable();
    void CatalogueClick(const CatalogueNodeClick& click);
    void BuildStartScreen();
    void OfferLastLesson();
    std::vector<CatalogueNode> FindLastLesson() const;
    void ResumeLastLesson();
    // The catalogue nodes from the top down to a lesson; empty when the code
    // is not a lesson of the catalogue.
    std::vector<CatalogueNode> LessonPath(const std::string& code) const;
    void ClickDownTo(const std::vector<CatalogueNode>& path);
    void RecordTally(const std::optional<TPageStatistics>& statistics);
    void RecordLessonClosed();
    void Record(ProgressEvent event);
    void CloseStartScreen();
    void WidenSidePanel(std::optional<int> openedLevel);
    void BuildStudy();
    void OperationTriggered(TOperationButton button);
    QString ChooseRole(const QStringList& roles);
    void OpenLesson(const CatalogueNodeClick& lesson);
    // The class package file named by a lesson's catalogue caption.
    static std::string ClassPackageName(const QString& caption);
    // Starts fetching the lesson's package when only the server has it.
    bool FetchFromServer(const CatalogueNodeClick& lesson);
    void DownloadFinished(PackageOutcome outcome);
    void LateRefreshFinished(RefreshOutcome outcome);
    void UnpackFinished(bool whole);
    void UnpackPauseOver();
    void ShowOpenedLesson();
    void StopLessonPanel();
    void CloseWordPreview();
    // Where the pupil's recordings are kept.
    std::filesystem::path RecordsFolder() const { return folders_.Writable() / "Records"; }

    LessonData& dm_;
    DataFolders folders_;
    StudyState state_;
    std::optional<int> openingStyle_;
    bool openingAnimated_ = false;
    bool setUpDone_ = false;
    int unpackPauseMs_ = kUnpackPauseMs;
    // The level of the catalogue node the pupil opened last; none before the
    // first. The side panel widens by it.
    std::optional<int> openedLevel_;
    LessonPanel* Lesson = nullptr;
    TWordPanel* PWord = nullptr;
    std::unique_ptr<TFunctionConductor> conductor_;
    LessonUnpacker* unpacker_ = nullptr;
    QTimer* unpackPause_ = nullptr;
    QString openingName_;
    QString openingCode_;
    // The lesson opened last, from the top of the catalogue down, as the start
    // screen offers it.
    std::vector<CatalogueNode> lastLesson_;
    // A study function the pupil chose while the lesson was opening.
    std::optional<TOVRule> pendingFunction_;
    std::string openingPackage_;
    CoursewareServer* server_ = nullptr;
    // The lesson whose package is being fetched from the server.
    std::optional<CatalogueNodeClick> fetchingLesson_;
    ProgressRecorder* progress_ = nullptr;
    // The lesson the record counts time and results to; empty before the first.
    std::string recordedLesson_;
    // The page a chosen place to practise opens once its function has.
    std::optional<int> pendingPage_;
    std::optional<ReadingScore> heldScore_;
};

}  // namespace ov
