#pragma once

#include <QString>

#include <memory>

class QWidget;

namespace ov {

// Where a movie control stands: no movie yet, loading, loaded and playing or
// stopped, or unable to play its movie.
enum class TMovieState { kEmpty, kLoading, kPlaying, kStopped, kFailed };

// What the box asks of a movie item's control: its file, whether it plays,
// start and stop. The control is a widget the box places and frees.
class TMovieControl {
public:
    virtual ~TMovieControl() = default;
    virtual QWidget* Widget() = 0;
    virtual QString Movie() const = 0;
    virtual void SetMovie(const QString& path) = 0;
    virtual bool Playing() const = 0;
    virtual void Play() = 0;
    virtual void StopPlay() = 0;
    virtual TMovieState State() const = 0;
    // The movie's length, known once it has loaded (0 before).
    virtual int FrameCount() const = 0;
    virtual double FrameRate() const = 0;
};

// The movie control of a page item, a child of `parent`; the widget owns the
// returned object (freeing the widget frees it). `name` is the movie as the
// page names it, for the message when it cannot be played. The web engine
// behind it is a module of its own, loaded by the first movie: linked into
// the program, it would cost every run its memory.
TMovieControl* CreateMovieControl(QWidget* parent, const QString& name);

// Must run before the QApplication is made: the web engine's sandbox cannot
// start as root.
void PrepareMovieEngine();

// Starts the web engine and loads the movie page off screen, so that a movie
// asked for soon after shows sooner. For when a pupil is plainly about to
// open movies: it costs what the first movie would.
void WarmMovieEngine();

// Frees the views and the profile of the movies' web engine, if a movie
// started it. Call it once the last movie has gone and while the QApplication
// still stands: views freed during the application's own end crash it.
void CloseMovieEngine();

// Whether a movie has loaded the web engine's module.
bool MovieEngineLoaded();

}  // namespace ov
