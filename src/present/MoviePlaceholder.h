#pragma once

#include "present/MovieControl.h"

#include <QFrame>

namespace ov {

// Stands in for a movie player: a framed area naming the movie's file, which
// plays and stops only in name.
class TMoviePlaceholder : public QFrame, public TMovieControl {
    Q_OBJECT

public:
    explicit TMoviePlaceholder(QWidget* parent);

    QWidget* Widget() override { return this; }
    QString Movie() const override { return movie_; }
    void SetMovie(const QString& path) override;
    bool Playing() const override { return playing_; }
    void Play() override { playing_ = true; }
    void StopPlay() override { playing_ = false; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString movie_;
    bool playing_ = false;
};

}  // namespace ov
