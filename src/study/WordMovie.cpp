#include "study/WordMovie.h"

#include "present/MovieControl.h"

#include <QApplication>
#include <QFileInfo>
#include <QWidget>

#include <cmath>

namespace ov {
namespace {

constexpr int kPollMs = 10;
// Time for the movie's length to arrive after it has loaded.
constexpr int kSlackMs = 1000;

qint64 LengthMs(const TMovieControl& movie) {
    return movie.FrameRate() > 0 ? std::llround(movie.FrameCount() * 1000.0 / movie.FrameRate()) : 0;
}

}  // namespace

WordMovie::WordMovie(const QString& path, QWidget* host)
    : movie_(CreateMovieControl(host, QFileInfo(path).fileName())), widget_(movie_->Widget()) {
    // A web page out of sight stops its clock, so the movie keeps one pixel in
    // a corner, under everything else.
    widget_->setGeometry(0, 0, 1, 1);
    widget_->lower();
    widget_->show();
    movie_->SetMovie(path);
    connect(&poll_, &QTimer::timeout, this, &WordMovie::Poll);
    poll_.start(kPollMs);
}

WordMovie::~WordMovie() { delete widget_; }

void WordMovie::Poll() {
    if (!widget_) return Finish(false);
    // The control may be telling the pupil it cannot play the movie: it stays
    // until the message is answered.
    if (QApplication::activeModalWidget()) return;
    switch (phase_) {
    case Phase::kLoading:
        // Loading ends by itself: the control gives up on a movie that never loads.
        if (movie_->State() == TMovieState::kLoading) return;
        if (movie_->State() == TMovieState::kFailed) return Finish(false);
        phase_ = Phase::kLength;
        clock_.start();
        return;
    case Phase::kLength:
        if (movie_->FrameCount() <= 0 && clock_.elapsed() < kSlackMs) return;
        lengthMs_ = LengthMs(*movie_);
        phase_ = Phase::kPlaying;
        clock_.start();
        return;
    case Phase::kPlaying:
        if (movie_->Playing() && clock_.elapsed() < lengthMs_) return;
        return Finish(true);
    }
}

void WordMovie::Finish(bool played) {
    poll_.stop();
    delete widget_;
    emit Finished(played);
}

}  // namespace ov
