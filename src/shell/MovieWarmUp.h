#pragma once

#include <QObject>

#include <vector>

class QWidget;

namespace ov {

// Starts the movies' web engine as soon as the pupil's intent to open a page
// with movies is plain: the pointer enters, or the keyboard reaches, a button
// of a function that shows movies, on a lesson whose pages include some. A
// pupil who never goes near those buttons never starts the engine.
class MovieWarmUp : public QObject {
    Q_OBJECT

public:
    MovieWarmUp(QWidget* window, const std::vector<QWidget*>& buttons);

    // Whether the open lesson has pages of those functions; the warm-up
    // happens once per lesson at most.
    void SetLessonHasMovies(bool has) { armed_ = has; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    bool armed_ = false;
};

}  // namespace ov
