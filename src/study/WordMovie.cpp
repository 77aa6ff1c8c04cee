#include "study/WordMovie.h"

#include "present/RuffleMovie.h"
#include "study/WaitMs.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QPointer>

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
bool WaitWhile(const QPointer<TRuffleMovie>& movie, Done done, qint64 ms) {
    QElapsedTimer clock;
    clock.start();
    while (movie && !done() && clock.elapsed() < ms) WaitMs(kPollMs);
    return !movie.isNull();
}

qint64 LengthMs(const TRuffleMovie& movie) {
    return movie.FrameRate() > 0 ? std::llround(movie.FrameCount() * 1000.0 / movie.FrameRate()) : 0;
}

}  // namespace

bool PlayWordMovie(const QString& path, QWidget* host) {
    const QPointer<TRuffleMovie> movie = new TRuffleMovie(host, QFileInfo(path).fileName());
    // A web page out of sight stops its clock, so the movie keeps one pixel in
    // a corner, under everything else.
    movie->setGeometry(0, 0, 1, 1);
    movie->lower();
    movie->show();
    movie->SetMovie(path);
    using State = TRuffleMovie::State;
    // Loading ends by itself: the control gives up on a movie that never loads.
    if (!WaitWhile(movie, [&] { return movie->CurrentState() != State::kLoading; }, std::numeric_limits<qint64>::max())) return false;
    const bool played = movie->CurrentState() != State::kFailed;
    if (played && WaitWhile(movie, [&] { return movie->FrameCount() > 0; }, kSlackMs)) {
        WaitWhile(movie, [&] { return !movie->Playing(); }, LengthMs(*movie));
    }
    const bool stayed = !movie.isNull();
    delete movie;
    return played && stayed;
}

}  // namespace ov
