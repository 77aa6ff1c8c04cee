#include "present/VideoPanel.h"

#include "core/MessageHook.h"
#include "present/VideoDisplay.h"

#include <QFileInfo>
#include <QMediaPlayer>
#include <QPushButton>
#include <QUrl>
#include <QVideoSink>

namespace ov {

namespace {
constexpr int kButtonWidth = 60;
constexpr int kButtonHeight = 24;
constexpr int kButtonGap = 4;
}  // namespace

VideoPanel::VideoPanel(QWidget* parent) : QWidget(parent), display_(new TVideoDisplay(this)) {
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
}

void VideoPanel::Layout(int top, int left, int width, int height) {
    setGeometry(left, top, width, height + kBarHeight);
    videoTop_ = top;
    videoLeft_ = left;
    videoWidth_ = width;
    videoHeight_ = height;
    display_->setGeometry(0, 0, width, height);
    CreatePlayer();
    bar_->setGeometry(0, height + 1, width, kBarHeight - 1);
}

void VideoPanel::CreatePlayer() {
    if (player_) return;
    player_ = new QMediaPlayer(this);
    sink_ = new QVideoSink(this);
    player_->setVideoSink(sink_);
    connect(sink_, &QVideoSink::videoFrameChanged, display_, &TVideoDisplay::SetFrame);
    // Queued: the message dialog must not run inside the media backend's call.
    connect(player_, &QMediaPlayer::errorOccurred, this, &VideoPanel::Fail, Qt::QueuedConnection);
    bar_ = new QWidget(this);
    QPushButton* play = AddButton(QStringLiteral("播放"), kButtonGap);
    QPushButton* pause = AddButton(QStringLiteral("暂停"), 2 * kButtonGap + kButtonWidth);
    QPushButton* stop = AddButton(QStringLiteral("停止"), 3 * kButtonGap + 2 * kButtonWidth);
    connect(play, &QPushButton::clicked, player_, &QMediaPlayer::play);
    connect(pause, &QPushButton::clicked, player_, &QMediaPlayer::pause);
    connect(stop, &QPushButton::clicked, player_, &QMediaPlayer::stop);
    bar_->show();
}

QPushButton* VideoPanel::AddButton(const QString& caption, int left) {
    auto* button = new QPushButton(caption, bar_);
    button->setGeometry(left, (kBarHeight - 1 - kButtonHeight) / 2, kButtonWidth, kButtonHeight);
    return button;
}

bool VideoPanel::PlayFile(const QString& path) {
    if (path.isEmpty()) return true;
    CreatePlayer();
    if (!QFileInfo(path).isFile()) {
        Fail();
        return true;
    }
    player_->setSource(QUrl::fromLocalFile(path));
    player_->play();
    return true;
}

void VideoPanel::Fail() {
    if (failed_) return;
    failed_ = true;
    if (player_) player_->stop();
    display_->SetNotice(fileName_);
    ShowMessageEx("提示", "未找到资源，编号 : " + fileName_.toStdString(), 0);
}

}  // namespace ov
