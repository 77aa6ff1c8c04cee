// Draws the demo's pictures that are not part of a lesson source, so the demo
// needs no picture files (the lessons' own simple pictures `ovtool build`
// draws):
//   demo_pictures LIST
// LIST has one picture a line: file, kind, text (tab-separated). The kind
// names the drawing (fruit for the showcase page, the window's decorative
// strips); JPEG or BMP by the file's extension.
#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <QFile>
#include <QFileInfo>
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

// The window's strips: a gradient in the player's blue, light towards the page.
void Strip(QPainter& painter, QSize size, bool lightAtTop) {
    QLinearGradient gradient(0, 0, size.width() > size.height() ? 0 : size.width(),
                             size.width() > size.height() ? size.height() : 0);
    const QColor dark(0x2F, 0x6F, 0xB5), light(0xDD, 0xEC, 0xFA);
    gradient.setColorAt(0, lightAtTop ? light : dark);
    gradient.setColorAt(1, lightAtTop ? dark : light);
    painter.fillRect(QRect(QPoint(0, 0), size), gradient);
}

struct Kind {
    QSize size;
    Paint paint;
};

const std::map<QString, Kind>& Kinds() {
    static const std::map<QString, Kind> kinds{
        {"apple", {{100, 100}, [](QPainter& p, QSize, const QString&) { Fruit(p, QColor(0xE0, 0x30, 0x30), false); }}},
        {"pear", {{100, 100}, [](QPainter& p, QSize, const QString&) { Fruit(p, QColor(0xC8, 0xD8, 0x40), true); }}},
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
