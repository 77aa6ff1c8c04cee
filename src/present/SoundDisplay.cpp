#include "present/SoundDisplay.h"

#include "audio/LoudnessSamples.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTimer>

namespace ov {

SoundDisplay::SoundDisplay(std::filesystem::path programFolder, QWidget* parent)
    : QWidget(parent), FRender(height(), width(), std::move(programFolder)), FTimer(new QTimer(this)) {
    FRender.Reset();
    FAudio.SetPan(0);
    // Painted from the off-screen picture alone, so nothing below shows through.
    setAttribute(Qt::WA_OpaquePaintEvent);
    FTimer->setInterval(kTickMs);
    connect(FTimer, &QTimer::timeout, this, &SoundDisplay::OnTick);
    Wake();
}

SoundDisplay::~SoundDisplay() { FAudio.Stop(); }

void SoundDisplay::PlayFile(const std::string& path) {
    SetFileName(path);
    Stop();
    ClearDisplay();
    FSamples.clear();
    FAudio.Play(path);
    Wake();
}

void SoundDisplay::Stop() {
    FAudio.Stop();
    EnableTimer(false);
    EnableTimer(true);
    FSamples.clear();
}

void SoundDisplay::Freeze() {
    FAudio.Stop();
    EnableTimer(false);
}

void SoundDisplay::ClearDisplay() {
    FRender.Clear();
    update();
}

int SoundDisplay::GetFileDuration() {
    if (FFileName.empty()) return 0;
    return FAudio.GetFileDuration(FFileName);
}

void SoundDisplay::AppendSamples(const std::array<std::uint8_t, 11>& samples) {
    FSamples.insert(FSamples.end(), samples.begin(), samples.end());
}

bool SoundDisplay::Ticking() const { return FTimer->isActive(); }

void SoundDisplay::EnableTimer(bool enabled) {
    FTimerEnabled = enabled;
    if (enabled)
        Wake();
    else
        FTimer->stop();
}

void SoundDisplay::Wake() {
    if (FTimerEnabled && !FTimer->isActive()) FTimer->start();
}

bool SoundDisplay::Busy() {
    const auto state = FAudio.GetState();
    return state == TAudioEngine::kPlaying || state == TAudioEngine::kPaused;
}

void SoundDisplay::OnTick() {
    // A message shown inside a tick runs its own loop, which would tick again.
    if (FInTick || !FTimerEnabled) return;
    FInTick = true;
    try {
        TickWork();
        FAudio.EngineTick();
        Tick();
    } catch (...) {
        // The next tick runs normally.
    }
    FInTick = false;
    if (!Busy()) FTimer->stop();
}

void SoundDisplay::Tick() {
    WaveBlock block;
    FAudio.GetWaveData(block);
    if (FFileName.empty()) return;
    const int total = ProgressTotalMs(FAudio.GetFileDuration(FFileName));
    FRender.DrawProgress(*this, total, FAudio.GetPosition(), block);
}

void SoundDisplay::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect area = event->rect();
    painter.drawImage(area, FRender.Display(), area);
}

void SoundDisplay::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FRender.Resize(width(), height());
}

}  // namespace ov
