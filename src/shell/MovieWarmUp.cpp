#include "shell/MovieWarmUp.h"

#include "present/MovieControl.h"

#include <QEvent>
#include <QWidget>

namespace ov {

MovieWarmUp::MovieWarmUp(QWidget* window, const std::vector<QWidget*>& buttons) : QObject(window), window_(window) {
    for (QWidget* button : buttons) button->installEventFilter(this);
}

bool MovieWarmUp::eventFilter(QObject* watched, QEvent* event) {
    if (armed_ && (event->type() == QEvent::Enter || event->type() == QEvent::FocusIn)) {
        armed_ = false;
        WarmMovieEngine(window_);
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace ov
