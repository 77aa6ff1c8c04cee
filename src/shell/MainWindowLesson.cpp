// The main window's part of the lesson panel: building it, wiring its
// controls and the keys that stand for them, and the recording buttons.
#include "shell/MainWindow.h"

#include "audio/WaveInput.h"
#include "core/MessageHook.h"
#include "lesson/LessonRecords.h"
#include "present/LessonPanel.h"
#include "present/PagePlayback.h"
#include "present/ReadingCheck.h"
#include "present/StudyFunctions.h"
#include "present/SoundInfoPanel.h"
#include "present/RecordDisplay.h"
#include "present/PageView.h"
#include "shell/ClassroomKeys.h"
#include "shell/OperationBar.h"
#include "shell/PruneRecords.h"
#include "shell/StartScreen.h"
#include "study/FunctionConductor.h"
#include "study/WordPanel.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>

namespace ov {
namespace {

const char* const kCompareCaption = "原音与录音对比提示";
const char* const kScoreCaption = "原音与录音对比";
const char* const kScoreText =
    "特别提示：\r\n对比是根据录音与课件原音音量的\r\n高底与时长等来分析打分的\r\n仅供参考\r\n对比分值:";

int ScreenWidth() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() : 0;
}

}  // namespace

void MainWindow::BuildLessonPanel() {
    Lesson = new LessonPanel(folders_.Holding("Images"), ScreenWidth(), SdlWaveInputDriver());
    PlaceContentPanel(Lesson, QStringLiteral("Lesson"));
}

void MainWindow::WireLessonPanel() {
    auto* panel = Lesson;
    connect(panel->firstBtn, &QPushButton::clicked, this, &MainWindow::ShowFirstPage);
    connect(panel->pirorBtn, &QPushButton::clicked, this, &MainWindow::ShowPriorPage);
    connect(panel->NextBtn, &QPushButton::clicked, this, &MainWindow::ShowNextPage);
    connect(panel->LastBtn, &QPushButton::clicked, this, &MainWindow::ShowLastPage);
    connect(panel->VolumeSpinner, &QSpinBox::valueChanged, this, &MainWindow::NoiseVolumeClick);
    connect(panel->SpeedSpinner, &QSpinBox::valueChanged, this, &MainWindow::SoundSpeedClick);
    const std::filesystem::path records = RecordsFolder();
    std::error_code ec;
    std::filesystem::create_directories(records, ec);
    panel->InfoPanel->Recorder->SetRecordFolder((records / "").string());
}

void MainWindow::BuildClassroomKeys() {
    OperationBar& bar = *PanelBottomShowOperation;
    new ClassroomKeys(this, {Lesson->pirorBtn, Lesson->NextBtn, bar.BtnStart, bar.BtnStop},
                      [this] { return OnLessonPage(); }, [this] { return conductor_->Running(); });
}

bool MainWindow::OnLessonPage() const {
    return StartPanel->isHidden() && PWord->isHidden() && Lesson->Box->Active();
}

bool MainWindow::ReadsAloud() const {
    return StudyFunctionOf(static_cast<TOVRule>(state_.RuleKind)).readsAloud;
}

void MainWindow::BtnRecordClick() {
    try {
        PruneRecords(RecordsFolder());
        if (!ReadsAloud()) return;
        RecordDisplay* recorder = Lesson->InfoPanel->Recorder;
        // A recording in progress is thrown away, not saved.
        recorder->StopRecord(false);
        recorder->ClearDisplay();
        Lesson->InfoPanel->Reading->Clear();
        recorder->StartRecord();
        state_.Reading = RecordState::NotPlayedBack;
    } catch (...) {
        // The pupil sees only that nothing started.
    }
}

void MainWindow::BtnPlayClick() {
    if (!ReadsAloud()) return;
    RecordDisplay* recorder = Lesson->InfoPanel->Recorder;
    Lesson->InfoPanel->Reading->Clear();
    try {
        recorder->StopRecord(true);
    } catch (...) {
        // Playback still goes on with whatever was written before.
    }
    try {
        recorder->PlayFile(recorder->LastFileName());
        state_.Reading = RecordState::PlayedBack;
    } catch (...) {
    }
}

void MainWindow::BtnCompareClick() {
    if (!ReadsAloud()) return;
    SoundInfoPanel* info = Lesson->InfoPanel;
    if (info->Sound->FileName().empty()) {
        ShowMessageEx(kCompareCaption, "您没有播放课件原文读音!", 0);
        return;
    }
    if (state_.Reading != RecordState::PlayedBack) {
        ShowMessageEx(kCompareCaption, "您没有播放录音!", 0);
        return;
    }
    try {
        info->Recorder->Freeze();
        const int score = static_cast<int>(Lesson->CompareRecording());
        // The words are judged while the pupil reads the score.
        const QList<SentenceWord*> words =
            WordsOfSound(*Lesson->Box, QString::fromStdString(info->Sound->FileName()));
        if (words.isEmpty()) {
            info->Reading->Clear();
            RecordScore(score);
        } else {
            HoldScore(score);
            info->Reading->Start(words, QString::fromStdString(info->Recorder->LastFileName()));
        }
        ShowMessageEx(kScoreCaption, kScoreText + std::to_string(score), 0);
    } catch (...) {
        // No score is shown rather than a wrong one.
    }
}

}  // namespace ov
