#include "study/WordMovie.h"

#include "present/MovieControl.h"
#include "study/WaitMs.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QPointer>
#include <QWidget>

#include <cmath>
#include <limits>

namespace ov {
namespace {

constexpr int kPollMs = 10;
// Time for the movie's length to arrive after it has loaded.
constexpr int kSlackMs = 1000;

// Handles the window's events until done() or ms have passed; false when the
// movie went meanwhile (its window closed).
template <typename Done>
bool WaitWhile(const QPointer<QWidget>& movie, Done done, qint64 ms) {
    QElapsedTimer clock;
    clock.start();
    while (movie && !done() && clock.elapsed() < ms) WaitMs(kPollMs);
    return !movie.isNull();
}

qint64 LengthMs(const TMovieControl& movie) {
    return movie.FrameRate() > 0 ? std::llround(movie.FrameCount() * 1000.0 / movie.FrameRate()) : 0;
}

}  // namespace

bool PlayWordMovie(const QString& path, QWidget* host) {
    TMovieControl* movie = CreateMovieControl(host, QFileInfo(path).fileName());
    const QPointer<QWidget> widget = movie->Widget();
    // A web page out of sight stops its clock, so the movie keeps one pixel in
    // a corner, under everything else.
    widget->setGeometry(0, 0, 1, 1);
    widget->lower();
    widget->show();
    movie->SetMovie(path);
    // Loading ends by itself: the control gives up on a movie that never loads.
    const auto loaded = [&] { return movie->State() != TMovieState::kLoading; };
    if (!WaitWhile(widget, loaded, std::numeric_limits<qint64>::max())) return false;
    const bool played = movie->State() != TMovieState::kFailed;
    if (played && WaitWhile(widget, [&] { return movie->FrameCount() > 0; }, kSlackMs)) {
        WaitWhile(widget, [&] { return !movie->Playing(); }, LengthMs(*movie));
    }
    const bool stayed = !widget.isNull();
    delete widget;
    return played && stayed;
}

}  // namespace ov
