#include "present/MoviePlaceholder.h"

#include <QFileInfo>
#include <QPainter>

namespace ov {

TMovieControl* CreateMovieControl(QWidget* parent) { return new TMoviePlaceholder(parent); }

TMoviePlaceholder::TMoviePlaceholder(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::Box);
    setAccessibleName(QStringLiteral("动画"));
}

void TMoviePlaceholder::SetMovie(const QString& path) {
    movie_ = path;
    setAccessibleDescription(QFileInfo(path).fileName());
    update();
}

void TMoviePlaceholder::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0xEA, 0xF3, 0xFB));
    painter.setPen(QColor(0x1F, 0x4E, 0x85));
    painter.drawText(rect().adjusted(4, 4, -4, -4), Qt::AlignCenter | Qt::TextWrapAnywhere,
                     QFileInfo(movie_).fileName());
    QFrame::paintEvent(event);
}

}  // namespace ov
