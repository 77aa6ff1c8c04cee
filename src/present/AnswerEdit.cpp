#include "present/AnswerEdit.h"

#include <QMouseEvent>

namespace ov {

TAnswerEdit::TAnswerEdit(QWidget* parent, int id) : QLineEdit(parent), id_(id) {
    setFrame(false);
    SetColor(kUntouched);
    connect(this, &QLineEdit::textEdited, this, [this](const QString& text) { typed_ = text; });
}

void TAnswerEdit::SetColor(const QColor& color) {
    QPalette colored = palette();
    colored.setColor(QPalette::Base, color);
    setPalette(colored);
}

QColor TAnswerEdit::Color() const { return palette().color(QPalette::Base); }

void TAnswerEdit::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

void TAnswerEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Leaving the edit for another control counts; the window losing focus does not.
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason) emit exited();
}

}  // namespace ov
