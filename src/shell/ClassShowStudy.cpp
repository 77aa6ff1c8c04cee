// The window's study side: opening a lesson from the catalogue, the study
// function buttons, page turning and the operation bar.
#include "shell/UntClassShow.h"

#include "core/GbkText.h"
#include "core/Log.h"
#include "present/BoxExercises.h"
#include "present/PageSound.h"
#include "present/ScriptPlayer.h"
#include "present/CBox.h"
#include "present/OVPanelShowClass.h"
#include "present/UntSoundAudioInfoPanel.h"
#include "present/UntSoundAudioRecord.h"
#include "present/UntSoundAudioSound.h"
#include "shell/ApplicationTitle.h"
#include "shell/CollapsiblePanel.h"
#include "shell/FunctionColumn.h"
#include "shell/OperationBar.h"
#include "shell/ShellSettings.h"
#include "shell/UntRole.h"
#include "store/StoredSecrets.h"
#include "store/UntPublic.h"
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

void TFrmClassShow::OperationTriggered(TOperationButton button) {
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
        case TOperationButton::Stat: return conductor.Stat();
        case TOperationButton::Result: return conductor.Result();
    }
}

void TFrmClassShow::BuildStudy() {
    TConductorHost host;
    host.ArrangeOperationButtons = [this](const std::vector<TOperationButton>& shown) {
        ArrangeOperationButtons(shown);
    };
    host.EnableOperationButton = [this](TOperationButton button, bool enabled) {
        PanelBottomShowOperation->Button(button)->setEnabled(enabled);
    };
    host.ChooseRole = [this](const QStringList& roles) { return ChooseRole(roles); };
    conductor_ = std::make_unique<TFunctionConductor>(*OVPanelShowClass, state_, std::move(host));

    for (const auto& [button, kind] : PanelLeftFunction->FunctionButtons())
        connect(button, &QPushButton::clicked, this, [this, kind = kind] { FunctionButtonClick(kind); });

    connect(PanelBottomShowOperation, &OperationBar::triggered, this, &TFrmClassShow::OperationTriggered);
    connect(PanelLeftFunction->BtnWordRepare, &QPushButton::clicked, this, &TFrmClassShow::BtnWordRepareClick);

    unpacker_ = new LessonUnpacker(this);
    QProgressBar* gauge = PanelSizeLeft->Gauge1;
    connect(unpacker_, &LessonUnpacker::RangeChanged, gauge, &QProgressBar::setRange);
    connect(unpacker_, &LessonUnpacker::PositionChanged, gauge, &QProgressBar::setValue);
    connect(unpacker_, &LessonUnpacker::Finished, this, &TFrmClassShow::UnpackFinished);
    unpackPause_ = new QTimer(this);
    unpackPause_->setSingleShot(true);
    unpackPause_->setTimerType(Qt::PreciseTimer);
    connect(unpackPause_, &QTimer::timeout, this, &TFrmClassShow::UnpackPauseOver);

    JvPopupMenuNoise = new QMenu(this);
    JvPopupMenuNoise->setObjectName(QStringLiteral("JvPopupMenuNoise"));
    connect(JvPopupMenuNoise, &QMenu::triggered, this, &TFrmClassShow::NoiseMenuClick);
    BuildNoiseMenu(folders_.Find("ENoises"), *JvPopupMenuNoise);
    OVPanelShowClass->NoiseButton->setMenu(JvPopupMenuNoise);
}

void TFrmClassShow::NoiseMenuClick(QAction* item) {
    if (!item) return;
    ov::NoiseMenuClick(*OVPanelShowClass->Box, folders_.Find("ENoises"), item->text(), item->data().toString());
}

void TFrmClassShow::NoiseVolumeClick() {
    TCBox& box = *OVPanelShowClass->Box;
    box.SetNoiseValue(NoiseValueFor(OVPanelShowClass->VolumeSpinner->value()));
    box.Sound().LoopScene();
}

void TFrmClassShow::SoundSpeedClick() {
    OVPanelShowClass->SetMainSoundSpeed(SoundSpeedFor(OVPanelShowClass->SpeedSpinner->value()));
}

void TFrmClassShow::BtnWordRepareClick() {
    if (OpeningLesson()) {
        pendingFunction_.reset();
        return;
    }
    PWord->show();
    PWord->raise();
    ArrangeOperationButtons({});
    OVPanelShowClass->Box->SetActive(false);
    PanelSizeLeft->Collapse();
    PWord->ShowWordList(state_.FClassPath);
}

void TFrmClassShow::CloseWordPreview() {
    PWord->hide();
    PWord->CloseWordList();
}

QString TFrmClassShow::ChooseRole(const QStringList& roles) {
    TFrmRole dialog(this);
    for (const QString& role : roles) dialog.AddRole(role);
    const int rows = static_cast<int>(roles.size()) * kRoleRowHeight;
    dialog.RzRadioGroup->setFixedHeight(rows);
    dialog.setFixedHeight(rows + 80);
    const QList<QRadioButton*> choices = dialog.RzRadioGroup->findChildren<QRadioButton*>();
    if (!choices.isEmpty()) choices.front()->setChecked(true);
    dialog.exec();
    return dialog.ChosenRole();
}

void TFrmClassShow::FunctionButtonClick(TOVRule kind) {
    // The lesson's folder is still being written: the function opens once
    // the lesson has, as the pupil's last click asked.
    if (OpeningLesson()) {
        pendingFunction_ = kind;
        return;
    }
    state_.FRuleKind = kind;
    CloseWordPreview();
    conductor_->OpenFunction(state_.FClassPath, kind);
    if (StudyFunctionOf(kind).items == ItemKind::Game) GotoItem(*OVPanelShowClass->Box, kind, false, 0);
    PanelSizeLeft->Collapse();
    state_.FRecordState = RecordState::PageShown;
}

void TFrmClassShow::ShowFirstPage() { conductor_->ShowPage(TPageButton::First); }
void TFrmClassShow::ShowPriorPage() { conductor_->ShowPage(TPageButton::Prior); }
void TFrmClassShow::ShowNextPage() { conductor_->ShowPage(TPageButton::Next); }
void TFrmClassShow::ShowLastPage() { conductor_->ShowPage(TPageButton::Last); }

// The rest of a click on a lesson node. The package is unpacked on a
// worker; the rest follows once it is written and the full bar has been seen.
void TFrmClassShow::OpenLesson(const QString& name) {
    // The lesson still opening is being written into its folder: a second
    // click waits for nothing and opens nothing.
    if (OpeningLesson()) return;
    openingName_ = name;
    PWord->EndDrill();
    try {
        const std::string suffix = GbkToUtf8(DecipherString(kClassPackageSuffix, kDefaultCipherKey));
        if (OpenClassPackage(openingName_.toStdString() + suffix)) return;
    } catch (const std::exception& e) {
        Log(LogLevel::Warning, "study", std::string("lesson does not open: ") + e.what());
    }
    ShowOpenedLesson();
}

bool TFrmClassShow::OpeningLesson() const { return unpacker_->Running() || unpackPause_->isActive(); }

void TFrmClassShow::UnpackFinished(bool whole) {
    if (!whole) {
        Log(LogLevel::Warning, "study", "class package " + openingPackage_ + " did not unpack whole");
        return ShowOpenedLesson();
    }
    unpackPause_->start(unpackPauseMs_);
}

void TFrmClassShow::UnpackPauseOver() {
    PanelSizeLeft->Gauge1->setValue(0);
    ShowOpenedLesson();
}

void TFrmClassShow::ShowOpenedLesson() {
    setWindowTitle(ApplicationTitle() + QStringLiteral("   ") + openingName_);
    PanelLeftFunction->show();
    PanelLeftFunction->raise();
    BtnWordRepareClick();
    PanelSizeLeft->Collapse();
    if (const auto kind = std::exchange(pendingFunction_, std::nullopt)) FunctionButtonClick(*kind);
}

void TFrmClassShow::StopLessonPanel() {
    TOVPanelShowClass* panel = OVPanelShowClass;
    TCBox& box = *panel->Box;
    box.Sound().CloseAll();
    box.Script().StopAll();
    box.StopMovies();
    panel->InfoPanel->Sound->Stop();
    // A recording in progress is the pupil's work: it is saved, not dropped.
    // Without one there is nothing to save, and no empty file is written.
    TChRecord* recorder = panel->InfoPanel->Recorder;
    if (recorder->IsRecording()) recorder->StopRecord(true);
    box.Sound().StopLesson();
    state_.FPageList.reset();
    if (box.Active()) box.SetActive(false);
}

bool TFrmClassShow::OpenClassPackage(const std::string& name) {
    if (name.empty()) return false;
    // Packages are read where the courseware lies; letter folders go where
    // the player may write, which is the same folder in a one-folder install.
    const std::filesystem::path resources = folders_.Writable() / "Resources";
    std::error_code ec;
    // A lesson unpacked into a letter folder counts as open too, not only one
    // unpacked into Resources itself: its sounds and recording must not run on
    // while its folder is deleted.
    if (!state_.FClassPath.empty() || std::filesystem::exists(resources / "OV", ec)) StopLessonPanel();
    const std::filesystem::path package = folders_.Find(std::filesystem::path("Resources") / name);
    if (!std::filesystem::exists(package, ec)) return false;
    std::filesystem::path destination = resources;
    const std::unique_ptr<QSettings> settings = OpenOrvaneSettings();
    if (settings && settings->isWritable()) {
        FolderLetters letters = ReadFolderLetters(*settings);
        static std::mt19937 random(
            static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
        const char letter = DrawFolderLetter(letters.newFolder.toStdString(), letters.oldFolder.toStdString(), random);
        const std::string folder(1, letter);
        state_.FClassPath = (resources / folder / "OV" / "Class").string();
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
