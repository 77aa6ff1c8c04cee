#pragma once

#include <QString>
#include <QWidget>

class QMediaPlayer;
class QPushButton;
class QVideoSink;

namespace ov {

class TVideoDisplay;

// The video panel of a page: the video's black display area with a 31 px
// bar of Play, Pause and Stop buttons underneath.
class VideoPanel : public QWidget {
    Q_OBJECT

public:
    static constexpr int kBarHeight = 31;

    explicit VideoPanel(QWidget* parent);

    // Places the panel at the video rectangle plus the bar and creates the player.
    void Layout(int top, int left, int width, int height);
    // Opens and plays the file; an empty path does nothing. Always true: a
    // video that cannot be played leaves its name on the display and tells
    // the pupil once, and the rest of the page stays.
    bool PlayFile(const QString& path);

    bool AutoPlay() const { return autoPlay_; }
    void SetAutoPlay(bool value) { autoPlay_ = value; }
    bool IsDisign() const { return isDisign_; }
    void SetIsDisign(bool value) { isDisign_ = value; }
    // The video's file name as the lesson gives it.
    const QString& FileName() const { return fileName_; }
    void SetFileName(const QString& value) { fileName_ = value; }

    TVideoDisplay* Display() const { return display_; }
    QMediaPlayer* Player() const { return player_; }
    QWidget* ButtonBar() const { return bar_; }
    int VideoTop() const { return videoTop_; }
    int VideoLeft() const { return videoLeft_; }
    int VideoWidth() const { return videoWidth_; }
    int VideoHeight() const { return videoHeight_; }

private:
    void CreatePlayer();
    QPushButton* AddButton(const QString& caption, int left);
    void Fail();

    TVideoDisplay* display_;
    QMediaPlayer* player_ = nullptr;
    QVideoSink* sink_ = nullptr;
    QWidget* bar_ = nullptr;
    bool autoPlay_ = false;
    bool isDisign_ = false;
    bool failed_ = false;
    QString fileName_;
    int videoTop_ = 0;
    int videoLeft_ = 0;
    int videoWidth_ = 0;
    int videoHeight_ = 0;
};

}  // namespace ov
