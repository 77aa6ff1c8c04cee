#include "present/MoviePlaceholder.h"

#include "core/MessageHook.h"

#include <QFileInfo>
#include <QPainter>

namespace ov {

TMoviePlaceholder::TMoviePlaceholder(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::Box);
    setAccessibleName(QStringLiteral("动画"));
}

void TMoviePlaceholder::SetFileName(const QString& path) {
    fileName_ = QFileInfo(path).fileName();
    setAccessibleDescription(fileName_);
    update();
}

void TMoviePlaceholder::TellUnplayable(const QString& name) {
    if (told_) return;
    told_ = true;
    ShowMessageEx("提示", "未找到资源，编号 : " + name.toStdString(), 0);
}

void TMoviePlaceholder::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0xEA, 0xF3, 0xFB));
    painter.setPen(QColor(0x1F, 0x4E, 0x85));
    painter.drawText(rect().adjusted(4, 4, -4, -4), Qt::AlignCenter | Qt::TextWrapAnywhere, fileName_);
    QFrame::paintEvent(event);
}

}  // namespace ov
