// Draws the demo lesson's pictures, so the demo needs no picture files:
//   demo_pictures FOLDER
// writes JPEG files of the scene, the fruit and the two choice marks.
#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <functional>

namespace {

bool Draw(const QDir& folder, const QString& name, QSize size, const std::function<void(QPainter&)>& paint) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter);
    painter.end();
    return picture.save(folder.filePath(name), "JPG", 90);
}

void Fruit(QPainter& painter, const QColor& skin, bool pear) {
    painter.setPen(QPen(skin.darker(160), 3));
    painter.setBrush(skin);
    if (pear) {
        painter.drawEllipse(QRectF(30, 20, 40, 40));
        painter.drawEllipse(QRectF(20, 45, 60, 48));
    } else {
        painter.drawEllipse(QRectF(14, 24, 72, 68));
    }
    painter.setPen(QPen(QColor(0x6B, 0x42, 0x1F), 4));
    painter.drawLine(QPointF(50, 26), QPointF(54, 8));
}

void Scene(QPainter& painter) {
    painter.fillRect(QRect(0, 0, 340, 160), QColor(0xBF, 0xE3, 0xFF));
    painter.fillRect(QRect(0, 160, 340, 80), QColor(0x8C, 0xD1, 0x6E));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xFF, 0xD5, 0x4A));
    painter.drawEllipse(QRectF(260, 20, 50, 50));
    painter.setBrush(QColor(0xC0, 0x5A, 0x3A));
    painter.drawRect(QRectF(60, 90, 120, 90));
    QPainterPath roof;
    roof.moveTo(50, 90);
    roof.lineTo(120, 40);
    roof.lineTo(190, 90);
    roof.closeSubpath();
    painter.setBrush(QColor(0x7A, 0x2E, 0x1E));
    painter.drawPath(roof);
    painter.setBrush(QColor(0xFF, 0xF4, 0xC2));
    painter.drawRect(QRectF(105, 130, 30, 50));
}

void Mark(QPainter& painter, bool selected) {
    painter.setPen(QPen(QColor(0x1F, 0x4E, 0x85), 3));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(3, 3, 26, 26), 5, 5);
    if (!selected) return;
    painter.setPen(QPen(QColor(0xD0, 0x20, 0x20), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(QPolygonF({QPointF(8, 16), QPointF(14, 23), QPointF(25, 8)}));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: demo_pictures FOLDER\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) return 1;
    const bool drawn =
        Draw(folder, QStringLiteral("scene.jpg"), {340, 240}, Scene) &&
        Draw(folder, QStringLiteral("apple.jpg"), {100, 100}, [](QPainter& p) { Fruit(p, QColor(0xE0, 0x30, 0x30), false); }) &&
        Draw(folder, QStringLiteral("pear.jpg"), {100, 100}, [](QPainter& p) { Fruit(p, QColor(0xC8, 0xD8, 0x40), true); }) &&
        Draw(folder, QStringLiteral("Selected.jpg"), {32, 32}, [](QPainter& p) { Mark(p, true); }) &&
        Draw(folder, QStringLiteral("NOSelected.jpg"), {32, 32}, [](QPainter& p) { Mark(p, false); });
    return drawn ? 0 : 1;
}
