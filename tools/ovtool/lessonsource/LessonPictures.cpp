#include "LessonPictures.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <functional>
#include <map>

namespace ovtool {
namespace {

using Paint = std::function<void(QPainter&, QSize, const QString&)>;

void Scene(QPainter& painter, QSize, const QString&) {
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

void Tick(QPainter& painter) {
    painter.setPen(QPen(QColor(0x20, 0xA0, 0x30), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(QPolygonF({QPointF(6, 17), QPointF(13, 25), QPointF(27, 7)}));
}

// A word card: the word large on a soft colour chosen by the word, so each
// card looks different and the same word always looks the same. A colour's
// name also gets a patch of that colour.
void Card(QPainter& painter, QSize size, const QString& word) {
    const QColor colour = QColor::fromHsv(static_cast<int>(qHash(word) % 360), 70, 250);
    painter.setPen(QPen(colour.darker(150), 3));
    painter.setBrush(colour);
    painter.drawRoundedRect(QRectF(3, 3, size.width() - 6, size.height() - 6), 12, 12);
    if (const QColor named = QColor::fromString(word); named.isValid()) {
        painter.setPen(QPen(Qt::darkGray, 2));
        painter.setBrush(named);
        painter.drawEllipse(QRectF(size.width() / 2.0 - 18, 10, 36, 36));
        painter.translate(0, 22);
    }
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(word.size() > 6 ? 15 : 20);
    painter.setFont(font);
    painter.setPen(QColor(0x20, 0x30, 0x60));
    painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter | Qt::TextWordWrap, word);
}

void Notes(QPainter& painter, QSize, const QString&) {
    painter.setPen(QPen(QColor(0x40, 0x40, 0x90), 2));
    for (int line = 0; line < 5; ++line) painter.drawLine(10, 40 + line * 14, 190, 40 + line * 14);
    painter.setBrush(QColor(0x30, 0x30, 0x80));
    for (int note = 0; note < 4; ++note) {
        const QPointF head(40 + note * 40, 82 - (note % 3) * 14);
        painter.drawEllipse(head, 9, 7);
        painter.drawLine(head + QPointF(8, 0), head + QPointF(8, -45));
    }
}

void Mark(QPainter& painter, bool selected) {
    painter.setPen(QPen(QColor(0x1F, 0x4E, 0x85), 3));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(3, 3, 26, 26), 5, 5);
    if (!selected) return;
    painter.setPen(QPen(QColor(0xD0, 0x20, 0x20), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(QPolygonF({QPointF(8, 16), QPointF(14, 23), QPointF(25, 8)}));
}

struct Kind {
    QSize size;
    Paint paint;
};

const std::map<std::string, Kind>& Kinds() {
    static const std::map<std::string, Kind> kinds{
        {"scene", {{340, 240}, Scene}},
        {"selected", {{32, 32}, [](QPainter& p, QSize, const QString&) { Mark(p, true); }}},
        {"unselected", {{32, 32}, [](QPainter& p, QSize, const QString&) { Mark(p, false); }}},
        {"right", {{32, 32}, [](QPainter& p, QSize, const QString&) { Tick(p); }}},
        {"card", {{100, 100}, Card}},
        {"notes", {{200, 160}, Notes}},
    };
    return kinds;
}

}  // namespace

bool DrawLessonPicture(const std::filesystem::path& file, const std::string& kind, const std::string& text) {
    const auto found = Kinds().find(kind);
    if (found == Kinds().end()) return false;
    QImage picture(found->second.size, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    found->second.paint(painter, found->second.size, QString::fromStdString(text));
    painter.end();
    const bool bitmap = file.extension() == ".bmp";
    return picture.save(QString::fromStdString(file.string()), bitmap ? "BMP" : "JPG", 90);
}

}  // namespace ovtool
