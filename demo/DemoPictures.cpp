// Draws the demo courseware's pictures, so the demo needs no picture files:
//   demo_pictures LIST
// LIST has one picture a line: file, kind, text (tab-separated). The kind
// names the drawing (a scene, fruit, choice marks, a word card, the window's
// decorative strips); JPEG or BMP by the file's extension.
#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QLinearGradient>
#include <QTextStream>

#include <cstdio>
#include <functional>
#include <map>

namespace {

using Paint = std::function<void(QPainter&, QSize, const QString&)>;

bool Draw(const QString& file, QSize size, const QString& text, const Paint& paint) {
    if (!QDir().mkpath(QFileInfo(file).path())) return false;
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter, size, text);
    painter.end();
    const bool bitmap = file.endsWith(QStringLiteral(".bmp"), Qt::CaseInsensitive);
    return picture.save(file, bitmap ? "BMP" : "JPG", 90);
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
    painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter, word);
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

// The window's strips: a gradient in the player's blue, light towards the page.
void Strip(QPainter& painter, QSize size, bool lightAtTop) {
    QLinearGradient gradient(0, 0, size.width() > size.height() ? 0 : size.width(),
                             size.width() > size.height() ? size.height() : 0);
    const QColor dark(0x2F, 0x6F, 0xB5), light(0xDD, 0xEC, 0xFA);
    gradient.setColorAt(0, lightAtTop ? light : dark);
    gradient.setColorAt(1, lightAtTop ? dark : light);
    painter.fillRect(QRect(QPoint(0, 0), size), gradient);
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

const std::map<QString, Kind>& Kinds() {
    static const std::map<QString, Kind> kinds{
        {"scene", {{340, 240}, Scene}},
        {"apple", {{100, 100}, [](QPainter& p, QSize, const QString&) { Fruit(p, QColor(0xE0, 0x30, 0x30), false); }}},
        {"pear", {{100, 100}, [](QPainter& p, QSize, const QString&) { Fruit(p, QColor(0xC8, 0xD8, 0x40), true); }}},
        {"selected", {{32, 32}, [](QPainter& p, QSize, const QString&) { Mark(p, true); }}},
        {"unselected", {{32, 32}, [](QPainter& p, QSize, const QString&) { Mark(p, false); }}},
        {"right", {{32, 32}, [](QPainter& p, QSize, const QString&) { Tick(p); }}},
        {"card", {{100, 100}, Card}},
        {"notes", {{200, 160}, Notes}},
        {"bottom", {{800, 60}, [](QPainter& p, QSize s, const QString&) { Strip(p, s, true); }}},
        {"top", {{800, 40}, [](QPainter& p, QSize s, const QString&) { Strip(p, s, false); }}},
        {"border", {{20, 600}, [](QPainter& p, QSize s, const QString&) { Strip(p, s, false); }}},
        {"backdrop", {{400, 100}, [](QPainter& p, QSize s, const QString&) { Strip(p, s, true); }}},
    };
    return kinds;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: demo_pictures LIST\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QFile list(QString::fromLocal8Bit(argv[1]));
    if (!list.open(QIODevice::ReadOnly | QIODevice::Text)) return 1;
    QTextStream lines(&list);
    while (!lines.atEnd()) {
        const QStringList fields = lines.readLine().split(QLatin1Char('\t'));
        if (fields.size() < 2) continue;
        const auto kind = Kinds().find(fields[1]);
        if (kind == Kinds().end() || !Draw(fields[0], kind->second.size, fields.value(2), kind->second.paint)) {
            std::fprintf(stderr, "demo_pictures: cannot draw %s\n", qPrintable(fields.join(QLatin1Char(' '))));
            return 1;
        }
    }
    return 0;
}
