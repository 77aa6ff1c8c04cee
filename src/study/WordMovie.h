#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class QWidget;

namespace ov {

class TMovieControl;

// A word's Flash movie, played in a movie control hidden on its host. It has
// finished once the movie has stopped or played its length (frame count /
// frame rate) after loading, and never later than that length and a second.
// A movie that cannot be played finishes unplayed (the control has told the
// pupil). Freeing it takes the control away.
class WordMovie : public QObject {
    Q_OBJECT

public:
    WordMovie(const QString& path, QWidget* host);
    ~WordMovie() override;

signals:
    // Once; the host's window going away meanwhile counts as not played.
    void Finished(bool played);

private:
    enum class Phase { kLoading, kLength, kPlaying };

    void Poll();
    void Finish(bool played);

    TMovieControl* movie_;
    QPointer<QWidget> widget_;
    QTimer poll_;
    QElapsedTimer clock_;
    Phase phase_ = Phase::kLoading;
    qint64 lengthMs_ = 0;
};

}  // namespace ov
