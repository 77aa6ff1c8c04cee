#include "shell/MovieIntent.h"

#include <QEvent>
#include <QPushButton>

#include "present/MovieControl.h"
#include "present/StudyFunctions.h"
#include "shell/FunctionColumn.h"

namespace ov {

MovieIntent::MovieIntent(const FunctionColumn& column, std::function<bool(TOVRule)> listsPages, QObject* parent)
    : QObject(parent), listsPages_(std::move(listsPages)) {
    for (const auto& [button, kind] : column.FunctionButtons()) {
        if (!StudyFunctionOf(kind).showsMovies) continue;
        buttons_[button] = kind;
        button->installEventFilter(this);
    }
}

bool MovieIntent::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter || event->type() == QEvent::FocusIn) {
        const auto button = buttons_.find(watched);
        if (button != buttons_.end() && listsPages_(button->second)) WarmMovieEngine();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace ov
