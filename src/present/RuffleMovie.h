#pragma once

#include "present/MovieControl.h"
#include "present/MoviePlaceholder.h"

#include <QElapsedTimer>
#include <QTimer>

class QWebEngineView;

namespace ov {

// A Flash movie played by Ruffle in a web view over the movie's rectangle.
// Like the Flash control it stands in for, a movie starts by itself once
// loaded. Playing follows what Ruffle answers; until the movie has loaded it
// says what the movie will do when it has. A movie that cannot be played
// leaves the rectangle naming its file and tells the pupil once.
class TRuffleMovie : public TMoviePlaceholder, public TMovieControl {
    Q_OBJECT

public:
    TRuffleMovie(QWidget* parent, const QString& name);
    ~TRuffleMovie() override;
    TRuffleMovie(const TRuffleMovie&) = delete;
    TRuffleMovie& operator=(const TRuffleMovie&) = delete;

    QWidget* Widget() override { return this; }
    QString Movie() const override { return movie_; }
    void SetMovie(const QString& path) override;
    bool Playing() const override;
    void Play() override;
    void StopPlay() override;

    TMovieState State() const override { return state_; }
    int FrameCount() const override { return frames_; }
    double FrameRate() const override { return rate_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void StartLoad();
    void Poll();
    void Call(const QString& script);
    void TakeState(const QString& reply);
    void TakeLength(const QVariantList& length);
    void SetState(TMovieState state);
    void Fail();
    void ReleaseView();

    QString name_;
    QString movie_;
    QWebEngineView* view_ = nullptr;
    // Replies from the page for an earlier movie of the same view are stale.
    int generation_ = 0;
    QTimer poll_;
    QElapsedTimer loading_;
    TMovieState state_ = TMovieState::kEmpty;
    bool wanted_ = true;
    int frames_ = 0;
    double rate_ = 0;
};

}  // namespace ov
