#pragma once

#include <QVideoFrame>
#include <QWidget>

namespace ov {

// The black area a video is drawn into. Frames are painted here rather than
// in a native video window, so page items can stand over the video; when the
// video cannot be played the area names its file instead.
class TVideoDisplay : public QWidget {
    Q_OBJECT

public:
    explicit TVideoDisplay(QWidget* parent);

    void SetFrame(const QVideoFrame& frame);
    bool HasFrame() const { return frame_.isValid(); }
    // Shown centred in place of the video.
    void SetNotice(const QString& text);
    const QString& Notice() const { return notice_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVideoFrame frame_;
    QString notice_;
};

}  // namespace ov
