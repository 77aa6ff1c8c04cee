#include "present/PageSound.h"

#include "present/PageView.h"
#include "present/ReadingCheck.h"
#include "present/SoundInfoPanel.h"
#include "present/SoundDisplay.h"
#include "present/WordTiming.h"

namespace ov {
namespace {

constexpr const char* kLessonAlias = "ZOzadaZI";
constexpr const char* kSceneAlias = "DEdivo";

SoundDisplay* Display(const PageView& box) { return box.InfoPanel() ? box.InfoPanel()->Sound : nullptr; }

}  // namespace

bool PageSound::DisplaySound::Play(const std::string& path, int) {
    SoundDisplay* display = Display(box_);
    if (display) display->PlayFile(path);
    return display != nullptr;
}

void PageSound::DisplaySound::Stop() {
    if (SoundDisplay* display = Display(box_)) display->Stop();
}

bool PageSound::DisplaySound::Finished() {
    SoundDisplay* display = Display(box_);
    if (!display) return true;
    const int32_t state = display->Audio().GetState();
    return state == TAudioEngine::kStopped || state == TAudioEngine::kFinished;
}

int64_t PageSound::DisplaySound::PositionMs() {
    SoundDisplay* display = Display(box_);
    return display ? display->Audio().GetPosition() : 0;
}

int64_t PageSound::DisplaySound::LengthMs() {
    SoundDisplay* display = Display(box_);
    return display ? display->GetFileDuration() : 0;
}

PageSound::PageSound(PageView& box)
    : box_(box), lesson_(media_, kLessonAlias), scene_(media_, kSceneAlias), display_(box) {}

int64_t PageSound::PlayLesson(const QString& path) {
    lesson_.Stop();
    const int speed = box_.SpeechSpeed();
    SoundInfoPanel* panel = box_.InfoPanel();
    // Feedback on the last reading is about the sound heard before this one.
    if (panel) panel->Reading->Clear();
    if (speed == kNormalSpeechSpeed) {
        int64_t duration = 0;
        if (SoundDisplay* display = Display(box_)) {
            if (panel->isHidden()) panel->show();
            display->SetFileName(path.toStdString());
            duration = SpeedAdjustedMs(display_.LengthMs(), speed);
            display_.Play(path.toStdString(), speed);
        }
        LoopScene();
        return duration;
    }
    if (panel && !panel->isHidden()) panel->hide();
    if (!lesson_.Play(path.toStdString(), speed)) return 0;
    const int64_t duration = SpeedAdjustedMs(lesson_.LengthMs(), speed);
    LoopScene();
    return duration;
}

void PageSound::StopLesson() { lesson_.Stop(); }

bool PageSound::LessonPlaying() { return !lesson_.Finished() || !display_.Finished(); }

void PageSound::StopDisplay() { display_.Stop(); }

void PageSound::LoopScene() { scene_.Loop(box_.NoiseName().toStdString(), box_.NoiseValue()); }

void PageSound::CloseAll() {
    scene_.Stop();
    lesson_.Stop();
    display_.Stop();
}

}  // namespace ov
