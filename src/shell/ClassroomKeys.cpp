#include "shell/ClassroomKeys.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>

namespace ov {
namespace {

// How much of the keyboard the focused control needs for itself.
enum class FocusNeeds { Nothing, Navigation, Space, Everything };

FocusNeeds NeedsOf(const QWidget* focus) {
    if (!focus) return FocusNeeds::Nothing;
    if (qobject_cast<const QLineEdit*>(focus) || qobject_cast<const QAbstractSpinBox*>(focus) ||
        qobject_cast<const QTextEdit*>(focus) || qobject_cast<const QPlainTextEdit*>(focus))
        return FocusNeeds::Everything;
    // A movie or game plays with the keys it is given; its view takes the
    // focus through a widget of its own inside it.
    for (const QWidget* w = focus; w; w = w->parentWidget())
        if (w->inherits("QWebEngineView")) return FocusNeeds::Everything;
    if (qobject_cast<const QAbstractItemView*>(focus)) return FocusNeeds::Navigation;
    if (qobject_cast<const QAbstractButton*>(focus)) return FocusNeeds::Space;
    return FocusNeeds::Nothing;
}

void Press(QPushButton* button) {
    if (!button->isHidden() && button->isEnabled()) button->click();
}

QString WithKeys(const QString& hint, const QString& keys) {
    const QString line = QStringLiteral("快捷键：") + keys;
    return hint.isEmpty() ? line : hint + QLatin1Char('\n') + line;
}

}  // namespace

ClassroomKeys::ClassroomKeys(QWidget* window, Buttons buttons, std::function<bool()> onLessonPage,
                             std::function<bool()> running)
    : QObject(window),
      window_(window),
      buttons_(buttons),
      onLessonPage_(std::move(onLessonPage)),
      running_(std::move(running)) {
    buttons_.priorPage->setToolTip(WithKeys(buttons_.priorPage->toolTip(), QStringLiteral("Page Up、←")));
    buttons_.nextPage->setToolTip(WithKeys(buttons_.nextPage->toolTip(), QStringLiteral("Page Down、→")));
    for (QPushButton* button : {buttons_.start, buttons_.stop})
        button->setToolTip(WithKeys(button->toolTip(), QStringLiteral("空格")));
    // Ahead of the focused control, which would take the arrows and Space
    // for itself: a focused study-function button moves to its neighbour.
    qApp->installEventFilter(this);
}

bool ClassroomKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    // Only where the key arrives first: a key the focused control passes on to
    // its parents is the control's, not the classroom's.
    QWidget* focus = window_->focusWidget();
    if (watched != (focus ? focus : window_)) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    return KeyPressed(key->key(), key->isAutoRepeat());
}

bool ClassroomKeys::KeyPressed(int key, bool repeated) {
    if (key == Qt::Key_F11) {
        if (!repeated) window_->setWindowState(window_->windowState() ^ Qt::WindowFullScreen);
        return true;
    }
    const FocusNeeds needs = NeedsOf(window_->focusWidget());
    if (needs == FocusNeeds::Everything || !onLessonPage_()) return false;
    switch (key) {
        case Qt::Key_PageDown:
        case Qt::Key_Right:
        case Qt::Key_PageUp:
        case Qt::Key_Left: {
            if (needs == FocusNeeds::Navigation) return false;
            const bool forward = key == Qt::Key_PageDown || key == Qt::Key_Right;
            // A held key turns one page, not the whole function.
            if (!repeated) Press(forward ? buttons_.nextPage : buttons_.priorPage);
            return true;
        }
        case Qt::Key_Space:
            if (needs == FocusNeeds::Space) return false;
            if (!repeated) Press(running_() ? buttons_.stop : buttons_.start);
            return true;
        default:
            return false;
    }
}

}  // namespace ov
