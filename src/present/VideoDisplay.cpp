#include "present/VideoDisplay.h"

#include <QPainter>

namespace ov {

TVideoDisplay::TVideoDisplay(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TVideoDisplay::SetFrame(const QVideoFrame& frame) {
    frame_ = frame;
    update();
}

void TVideoDisplay::SetNotice(const QString& text) {
    notice_ = text;
    frame_ = QVideoFrame();
    update();
}

void TVideoDisplay::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!notice_.isEmpty()) {
        painter.setPen(Qt::white);
        painter.drawText(rect().adjusted(4, 4, -4, -4), Qt::AlignCenter | Qt::TextWrapAnywhere, notice_);
        return;
    }
    if (!frame_.isValid()) return;
    const QImage picture = frame_.toImage();
    if (picture.isNull()) return;
    const QSize fitted = picture.size().scaled(size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, picture);
}

}  // namespace ov
