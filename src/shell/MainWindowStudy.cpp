// The window's study side: opening a lesson from the catalogue, the study
// function buttons, page turning and the operation bar.
#include "shell/MainWindow.h"

#include "core/GbkText.h"
#include "core/Log.h"
#include "present/AnswerCheck.h"
#include "present/PageSound.h"
#include "present/ScriptPlayer.h"
#include "present/PageView.h"
#include "present/ReadingCheck.h"
#include "present/LessonPanel.h"
#include "present/SoundInfoPanel.h"
#include "present/RecordDisplay.h"
#include "present/SoundDisplay.h"
#include "shell/ApplicationTitle.h"
#include "shell/CatalogueTree.h"
#include "shell/CollapsiblePanel.h"
#include "shell/CoursewareServer.h"
#include "shell/FunctionColumn.h"
#include "shell/MovieIntent.h"
#include "shell/OperationBar.h"
#include "shell/ShellSettings.h"
#include "shell/RoleDialog.h"
#include "store/ProgressRecorder.h"
#include "store/StoredSecrets.h"
#include "store/CipherAndFiles.h"
#include "study/ClassFolders.h"
#include "study/FunctionConductor.h"
#include "study/LessonUnpacker.h"
#include "study/NoiseMenu.h"
#include "study/WordPanel.h"

#include <QGroupBox>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>

#include <chrono>
#include <random>
#include <utility>

namespace ov {
namespace {

constexpr int kRoleRowHeight = 40;

}  // namespace

void MainWindow::OperationTriggered(TOperationButton button) {
    TFunctionConductor& conductor = *conductor_;
    switch (button) {
        case TOperationButton::Start: return conductor.Start();
        case TOperationButton::Stop: return conductor.Stop();
        case TOperationButton::StudySing: return conductor.StudySing();
        case TOperationButton::Prior: return conductor.Prior();
        case TOperationButton::Next: return conductor.Next();
        case TOperationButton::Record: return BtnRecordClick();
        case TOperationButton::Play: return BtnPlayClick();
        case TOperationButton::Compare: return BtnCompareClick();
        case TOperationButton::Stat: return RecordTally(conductor.Stat());
        case TOperationButton::Result: return conductor.Result();
    }
}

void MainWindow::BuildStudy() {
    TConductorHost host;
    host.ArrangeOperationButtons = [this](const std::vector<TOperationButton>& shown) {
        ArrangeOperationButtons(shown);
    };
    host.EnableOperationButton = [this](TOperationButton button, bool enabled) {
        PanelBottomShowOperation->Button(button)->setEnabled(enabled);
    };
    host.ChooseRole = [this](const QStringList& roles) { return ChooseRole(roles); };
    conductor_ = std::make_unique<TFunctionConductor>(*Lesson, state_, std::move(host));

    for (const auto& [button, kind] : PanelLeftFunction->FunctionButtons())
        connect(button, &QPushButton::clicked, this, [this, kind = kind] { FunctionButtonClick(kind); });

    new MovieIntent(
        *PanelLeftFunction,
        [this](TOVRule kind) { return !OpeningLesson() && conductor_->ListsPages(kind); }, this);

    connect(PanelBottomShowOperation, &OperationBar::triggered, this, &MainWindow::OperationTriggered);
    connect(PanelLeftFunction->BtnWordRepare, &QPushButton::clicked, this, &MainWindow::BtnWordPreviewClick);
    connect(PWord, &TWordPanel::drillPassCompleted, this,
            [this](int words) { Record(DrillPass{recordedLesson_, words, ProgressNow()}); });
    connect(Lesson->InfoPanel->Reading, &ReadingCheck::judged, this, &MainWindow::RecordWordsHeard);

    unpacker_ = new LessonUnpacker(this);
    QProgressBar* gauge = PanelSizeLeft->UnpackBar;
    connect(unpacker_, &LessonUnpacker::RangeChanged, gauge, &QProgressBar::setRange);
    connect(unpacker_, &LessonUnpacker::PositionChanged, gauge, &QProgressBar::setValue);
    connect(unpacker_, &LessonUnpacker::Finished, this, &MainWindow::UnpackFinished);
    unpackPause_ = new QTimer(this);
    unpackPause_->setSingleShot(true);
    unpackPause_->setTimerType(Qt::PreciseTimer);
    connect(unpackPause_, &QTimer::timeout, this, &MainWindow::UnpackPauseOver);

    SceneSoundMenu = new QMenu(this);
    SceneSoundMenu->setObjectName(QStringLiteral("SceneSoundMenu"));
    connect(SceneSoundMenu, &QMenu::triggered, this, &MainWindow::NoiseMenuClick);
    BuildNoiseMenu(folders_.Find("ENoises"), *SceneSoundMenu);
    Lesson->NoiseButton->setMenu(SceneSoundMenu);
}

void MainWindow::NoiseMenuClick(QAction* item) {
    if (!item) return;
    ov::NoiseMenuClick(*Lesson->Box, folders_.Find("ENoises"), item->text(), item->data().toString());
}

void MainWindow::NoiseVolumeClick() {
    PageView& box = *Lesson->Box;
    box.SetNoiseValue(NoiseValueFor(Lesson->VolumeSpinner->value()));
    box.Sound().LoopScene();
}

void MainWindow::SoundSpeedClick() {
    Lesson->SetMainSoundSpeed(SoundSpeedFor(Lesson->SpeedSpinner->value()));
}

void MainWindow::BtnWordPreviewClick() {
    if (OpeningLesson()) {
        pendingFunction_.reset();
        return;
    }
    PWord->show();
    PWord->raise();
    ArrangeOperationButtons({});
    Lesson->Box->SetActive(false);
    PanelSizeLeft->Collapse();
    PWord->ShowWordList(state_.ClassPath);
    Record(FunctionOpened{recordedLesson_, std::nullopt, ProgressNow()});
}

void MainWindow::CloseWordPreview() {
    PWord->hide();
    PWord->CloseWordList();
}

QString MainWindow::ChooseRole(const QStringList& roles) {
    RoleDialog dialog(this);
    for (const QString& role : roles) dialog.AddRole(role);
    const int rows = static_cast<int>(roles.size()) * kRoleRowHeight;
    dialog.RoleChoices->setFixedHeight(rows);
    dialog.setFixedHeight(rows + 80);
    const QList<QRadioButton*> choices = dialog.RoleChoices->findChildren<QRadioButton*>();
    if (!choices.isEmpty()) choices.front()->setChecked(true);
    dialog.exec();
    return dialog.ChosenRole();
}

void MainWindow::FunctionButtonClick(TOVRule kind) {
    // The lesson's folder is still being written: the function opens once
    // the lesson has, as the pupil's last click asked.
    if (OpeningLesson()) {
        pendingFunction_ = kind;
        return;
    }
    state_.RuleKind = kind;
    CloseWordPreview();
    conductor_->OpenFunction(state_.ClassPath, kind);
    Record(FunctionOpened{recordedLesson_, kind, ProgressNow()});
    if (StudyFunctionOf(kind).items == ItemKind::Game) GotoItem(*Lesson->Box, kind, false, 0);
    PanelSizeLeft->Collapse();
    state_.Reading = RecordState::PageShown;
}

void MainWindow::ShowFirstPage() { conductor_->ShowPage(TPageButton::First); }
void MainWindow::ShowPriorPage() { conductor_->ShowPage(TPageButton::Prior); }
void MainWindow::ShowNextPage() { conductor_->ShowPage(TPageButton::Next); }
void MainWindow::ShowLastPage() { conductor_->ShowPage(TPageButton::Last); }

// The rest of a click on a lesson node. The package is unpacked on a
// worker; the rest follows once it is written and the full bar has been seen.
void MainWindow::OpenLesson(const CatalogueNodeClick& lesson) {
    // The lesson still opening is being written into its folder: a second
    // click waits for nothing and opens nothing.
    if (OpeningLesson()) return;
    if (FetchFromServer(lesson)) return;
    openingName_ = lesson.caption;
    openingCode_ = lesson.code;
    PWord->EndDrill();
    try {
        if (OpenClassPackage(ClassPackageName(openingName_))) return;
    } catch (const std::exception& e) {
        Log(LogLevel::Warning, "study", std::string("lesson does not open: ") + e.what());
    }
    ShowOpenedLesson();
}

std::string MainWindow::ClassPackageName(const QString& caption) {
    return caption.toStdString() + GbkToUtf8(DecipherString(kClassPackageSuffix, kDefaultCipherKey));
}

bool MainWindow::OpeningLesson() const {
    return unpacker_->Running() || unpackPause_->isActive() || (server_ && server_->Downloading());
}

void MainWindow::UnpackFinished(bool whole) {
    if (!whole) {
        Log(LogLevel::Warning, "study", "class package " + openingPackage_ + " did not unpack whole");
        return ShowOpenedLesson();
    }
    unpackPause_->start(unpackPauseMs_);
}

void MainWindow::UnpackPauseOver() {
    PanelSizeLeft->UnpackBar->setValue(0);
    // Written at once: a player switched off in the lesson offers it again.
    WriteLastLesson(*OpenOrvaneSettings(), openingCode_);
    ShowOpenedLesson();
}

void MainWindow::ShowOpenedLesson() {
    setWindowTitle(ApplicationTitle() + QStringLiteral("   ") + openingName_);
    CloseStartScreen();
    RecordLessonClosed();
    recordedLesson_ = openingCode_.toStdString();
    Record(LessonOpened{recordedLesson_, openingName_.toStdString(), ProgressNow()});
    PanelLeftFunction->show();
    PanelLeftFunction->raise();
    BtnWordPreviewClick();
    PanelSizeLeft->Collapse();
    if (const auto kind = std::exchange(pendingFunction_, std::nullopt)) FunctionButtonClick(*kind);
    if (const auto page = std::exchange(pendingPage_, std::nullopt); page && *page > 0)
        conductor_->ShowPageAt(static_cast<std::size_t>(*page - 1));
}

void MainWindow::StopLessonPanel() {
    LessonPanel* panel = Lesson;
    PageView& box = *panel->Box;
    // Ends the script and closes the lesson sound, the scene sound and the
    // info panel's display.
    box.Script().StopAll();
    box.StopMovies();
    // A recording in progress is the pupil's work: it is saved, not dropped.
    // Without one there is nothing to save, and no empty file is written.
    RecordDisplay* recorder = panel->InfoPanel->Recorder;
    if (recorder->IsRecording()) recorder->StopRecord(true);
    state_.PageList.reset();
    if (box.Active()) box.SetActive(false);
}

bool MainWindow::OpenClassPackage(const std::string& name) {
    if (name.empty()) return false;
    // Packages are read where the courseware lies; letter folders go where
    // the player may write, which is the same folder in a one-folder install.
    const std::filesystem::path resources = folders_.Writable() / "Resources";
    std::error_code ec;
    // A lesson unpacked into a letter folder counts as open too, not only one
    // unpacked into Resources itself: its sounds and recording must not run on
    // while its folder is deleted.
    if (!state_.ClassPath.empty() || std::filesystem::exists(resources / "OV", ec)) StopLessonPanel();
    const std::filesystem::path package = folders_.Find(std::filesystem::path("Resources") / name);
    if (!std::filesystem::exists(package, ec)) return false;
    if (server_ && package.parent_path().parent_path() == server_->Folder()) server_->MarkUsed(package);
    std::filesystem::path destination = resources;
    const std::unique_ptr<QSettings> settings = OpenOrvaneSettings();
    if (settings && settings->isWritable()) {
        FolderLetters letters = ReadFolderLetters(*settings);
        static std::mt19937 random(
            static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
        const char letter = DrawFolderLetter(letters.newFolder.toStdString(), letters.oldFolder.toStdString(), random);
        const std::string folder(1, letter);
        state_.ClassPath = (resources / folder / "OV" / "Class").string();
        letters.oldFolder = letters.newFolder;
        letters.newFolder = QString::fromStdString(folder);
        WriteFolderLetters(*settings, letters);
        // Before the unpacking, so that no more than two lessons ever lie
        // unpacked on disk, not even while the new one is being written.
        DeleteStaleClassFolders(resources, folder, letters.oldFolder.toStdString());
        destination = resources / folder;
    }
    openingPackage_ = package.string();
    unpacker_->Start(openingPackage_, destination.string());
    return true;
}

}  // namespace ov
