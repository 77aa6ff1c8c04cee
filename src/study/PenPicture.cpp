#include "study/PenPicture.h"

#include <QPainter>
#include <QPainterPath>

namespace ov {

QPixmap PenPicture() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(16, 16);
    p.rotate(45);
    // Barrel, nib and cap of a pen pointing down to the left.
    p.setPen(QPen(QColor(0x1F, 0x4E, 0x85), 1.2));
    p.setBrush(QColor(0xFF, 0xB3, 0x40));
    p.drawRoundedRect(QRectF(-3.5, -13, 7, 18), 1.5, 1.5);
    p.setBrush(QColor(0x4A, 0x90, 0xD9));
    p.drawRect(QRectF(-3.5, -13, 7, 5));
    QPainterPath nib;
    nib.moveTo(-3.5, 5);
    nib.lineTo(3.5, 5);
    nib.lineTo(0, 13);
    nib.closeSubpath();
    p.setBrush(QColor(0xEA, 0xF3, 0xFB));
    p.drawPath(nib);
    return pixmap;
}

}  // namespace ov
