#include "present/SoundInfoPanel.h"

#include "present/ReadingCheck.h"
#include "present/RecordDisplay.h"

#include <QLabel>

#include <algorithm>

namespace ov {

SoundInfoPanel::SoundInfoPanel(const std::filesystem::path& programFolder, std::shared_ptr<WaveInputDriver> driver,
                       QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("InfoPanel"));
    setAutoFillBackground(true);
    setPalette(QPalette(Qt::white));
    Sound = new SoundDisplay(programFolder, this);
    Sound->setObjectName(QStringLiteral("Sound"));
    Sound->setAccessibleName(QStringLiteral("原音"));
    Sound->move(0, 0);
    Recorder = new RecordDisplay(programFolder, std::move(driver), this);
    Recorder->setObjectName(QStringLiteral("Recorder"));
    Recorder->setAccessibleName(QStringLiteral("录音"));
    Recorder->setGeometry(Sound->x() + Sound->width() + 1, 0, Sound->width(), Sound->height());
    WordCount = new QLabel(this);
    WordCount->setObjectName(QStringLiteral("WordCount"));
    WordCount->setStyleSheet(QStringLiteral(
        "QLabel { background: rgba(255, 255, 255, 220); color: #1F4E85; border: 1px solid #B9D3EE;"
        " border-radius: 6px; padding: 2px 8px; }"));
    WordCount->hide();
    Reading = new ReadingCheck(*this, this);
}

void SoundInfoPanel::LayOut() {
    if (FLaidOut == size()) return;
    FLaidOut = size();
    const int half = std::max(0, (width() - kSideRoom) / 2);
    Sound->setGeometry(kFirstLeft, 0, half, height());
    Recorder->setGeometry(half + 2 * kFirstLeft, 0, half, height());
    // Hidden controls get their resize events only when shown.
    for (SoundDisplay* display : {Sound, static_cast<SoundDisplay*>(Recorder)}) display->Render().Resize(half, height());
    PlaceWordCount();
}

void SoundInfoPanel::PlaceWordCount() {
    WordCount->adjustSize();
    WordCount->move(std::max(0, Recorder->x() + Recorder->width() - WordCount->width() - 4),
                    std::max(0, (height() - WordCount->height()) / 2));
    WordCount->raise();
}

void SoundInfoPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayOut();
}

}  // namespace ov
