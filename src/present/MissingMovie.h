#pragma once

#include "present/MovieControl.h"
#include "present/MoviePlaceholder.h"

namespace ov {

// The movie control when the web engine's module cannot be loaded: every
// movie is one that cannot be played, named in its rectangle and told once.
class TMissingMovie : public TMoviePlaceholder, public TMovieControl {
    Q_OBJECT

public:
    TMissingMovie(QWidget* parent, const QString& name) : TMoviePlaceholder(parent), name_(name) {}

    QWidget* Widget() override { return this; }
    QString Movie() const override { return movie_; }
    void SetMovie(const QString& path) override;
    bool Playing() const override { return false; }
    void Play() override {}
    void StopPlay() override {}
    TMovieState State() const override { return movie_.isEmpty() ? TMovieState::kEmpty : TMovieState::kFailed; }
    int FrameCount() const override { return 0; }
    double FrameRate() const override { return 0; }

private:
    QString name_;
    QString movie_;
};

}  // namespace ov
