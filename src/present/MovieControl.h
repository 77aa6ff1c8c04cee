#pragma once

#include <QString>

#include <memory>

class QWidget;

namespace ov {

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
};

// The movie control of a page item, a child of `parent`; the widget owns the
// returned object (freeing the widget frees it). `name` is the movie as the
// page names it, for the message when it cannot be played.
TMovieControl* CreateMovieControl(QWidget* parent, const QString& name);

}  // namespace ov
