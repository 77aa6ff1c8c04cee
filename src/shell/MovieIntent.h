#pragma once

#include <QObject>

#include <functional>
#include <map>

#include "lesson/LessonRecords.h"

namespace ov {

class FunctionColumn;

// Starts the movies' web engine as soon as a pupil plainly means to open
// movies: the pointer enters, or the keyboard focus reaches, the button of a
// function whose pages are movies, on a lesson that lists such pages. The
// engine needs over a second to start, and the moment between aiming at a
// button and clicking it is worth having. A pupil who never goes near those
// buttons never starts it.
class MovieIntent : public QObject {
public:
    // listsPages answers whether the open lesson has pages of a function;
    // false while a lesson is still opening.
    MovieIntent(const FunctionColumn& column, std::function<bool(TOVRule)> listsPages, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::map<const QObject*, TOVRule> buttons_;
    std::function<bool(TOVRule)> listsPages_;
};

}  // namespace ov
