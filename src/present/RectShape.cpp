#include "present/RectShape.h"

#include <QPainter>

namespace ov {

TRectShape::TRectShape(QWidget* parent, QColor pen) : QWidget(parent), pen_(pen) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TRectShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(pen_);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace ov
