#include "shell/SplashWindow.h"

#include "shell/ApplicationTitle.h"
#include "shell/PaintedPictures.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>

namespace ov {

SplashWindow::SplashWindow() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("FrmLog"));
    setFixedSize(kWidth, kHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SplashWindow::ShowCentred() {
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    show();
}

void SplashWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    PaintSkyGradient(p, rect());

    p.setPen(QPen(QColor(255, 255, 255, 120), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(rect()).adjusted(12, 12, -12, -12), 6, 6);

    PaintBookMark(p, QRectF(width() / 2.0 - 70, 60, 140, 120));

    QFont title(QStringLiteral("Noto Sans CJK SC"));
    title.setPixelSize(40);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 200, width(), 60), Qt::AlignCenter, ApplicationTitle());

    QFont line(QStringLiteral("Noto Sans CJK SC"));
    line.setPixelSize(18);
    p.setFont(line);
    p.setPen(QColor(0xEA, 0xF3, 0xFB));
    p.drawText(QRect(0, 270, width(), 30), Qt::AlignCenter, QStringLiteral("听一听  读一读  练一练"));
    p.drawText(QRect(0, 340, width(), 30), Qt::AlignCenter, QStringLiteral("正在启动，请稍候……"));
}

}  // namespace ov
