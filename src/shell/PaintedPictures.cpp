#include "shell/PaintedPictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace ov {
namespace {

constexpr int kIconSize = 32;
const QColor kSkyDark(0x2F, 0x6F, 0xB5);
const QColor kSkyLight(0x4A, 0x90, 0xD9);

QPen LinePen(const QColor& colour, double width) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void DrawShop(QPainter& p) {
    QPainterPath bag;
    bag.moveTo(7, 12);
    bag.lineTo(25, 12);
    bag.lineTo(27, 28);
    bag.lineTo(5, 28);
    bag.closeSubpath();
    p.drawPath(bag);
    p.drawArc(QRectF(11, 5, 10, 12), 0, 180 * 16);
}

void DrawHome(QPainter& p) {
    p.drawPolyline(QPolygonF({{4, 16}, {16, 5}, {28, 16}}));
    p.drawPolyline(QPolygonF({{8, 13}, {8, 28}, {24, 28}, {24, 13}}));
    p.drawRect(QRectF(13.5, 19, 5, 9));
}

void DrawHelp(QPainter& p) {
    p.drawEllipse(QRectF(4, 4, 24, 24));
    QPainterPath mark;
    mark.moveTo(12.5, 12.5);
    mark.cubicTo(12.5, 8, 19.5, 8, 19.5, 12.5);
    mark.cubicTo(19.5, 15.5, 16, 15.5, 16, 19);
    p.drawPath(mark);
    p.drawPoint(QPointF(16, 23.5));
}

// Axes and a rising line of scores: the learning record.
void DrawRecord(QPainter& p) {
    p.drawPolyline(QPolygonF({{5, 5}, {5, 27}, {27, 27}}));
    p.drawPolyline(QPolygonF({{9, 21}, {14, 15}, {19, 18}, {26, 9}}));
}

void DrawMinimise(QPainter& p) {
    p.drawLine(QPointF(8, 22), QPointF(24, 22));
}

void DrawClose(QPainter& p) {
    p.drawLine(QPointF(9, 9), QPointF(23, 23));
    p.drawLine(QPointF(23, 9), QPointF(9, 23));
}

constexpr int kTreeIconSize = 16;

// A square icon drawn at twice its size, so it stays sharp on dense screens.
QIcon LineIcon(int size, const QPen& pen, void (*draw)(QPainter&)) {
    QPixmap pixmap(size * 2, size * 2);
    pixmap.setDevicePixelRatio(2);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(pen);
    draw(p);
    return QIcon(pixmap);
}
const QColor kNavy(0x1F, 0x4E, 0x85);
const QColor kOrange(0xFF, 0xB3, 0x40);
const QColor kPale(0xEA, 0xF3, 0xFB);

// A closed textbook with a coloured cover and a band on its spine.
void DrawTextbook(QPainter& p) {
    p.setBrush(kSkyLight);
    p.drawRoundedRect(QRectF(3, 1.5, 10.5, 13), 1.5, 1.5);
    p.setBrush(kOrange);
    p.drawRect(QRectF(3, 1.5, 2.5, 13));
    p.drawLine(QPointF(7.5, 5), QPointF(11.5, 5));
}

// Three books lying on each other: a school year's shelf.
void DrawGrade(QPainter& p) {
    const QColor covers[] = {kSkyLight, kOrange, kSkyDark};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(covers[i]);
        p.drawRoundedRect(QRectF(1.5 + i, 10.5 - i * 4.5, 13 - i * 2, 4), 1, 1);
    }
}

// A folder holding the lessons of a unit.
void DrawUnit(QPainter& p) {
    p.setBrush(kOrange);
    p.drawPolygon(QPolygonF({{1.5, 3.5}, {6, 3.5}, {7.5, 5}, {14.5, 5}, {14.5, 13.5}, {1.5, 13.5}}));
    p.drawLine(QPointF(1.5, 7), QPointF(14.5, 7));
}

// A page with lines of text and a folded corner: one lesson.
void DrawLesson(QPainter& p) {
    p.setBrush(kPale);
    p.drawPolygon(QPolygonF({{3, 1.5}, {10, 1.5}, {13, 4.5}, {13, 14.5}, {3, 14.5}}));
    p.drawPolyline(QPolygonF({{10, 1.5}, {10, 4.5}, {13, 4.5}}));
    for (const double y : {7.0, 9.5, 12.0}) p.drawLine(QPointF(5.5, y), QPointF(10.5, y));
}

// A sky-blue tile with rounded corners; what is painted next stays on it.
void PaintTile(QPainter& p, const QRect& area) {
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    p.setClipPath(shape);
    PaintSkyGradient(p, area);
}

}  // namespace

QList<QIcon> CatalogueIcons() {
    QList<QIcon> icons;
    for (void (*draw)(QPainter&) : {DrawTextbook, DrawGrade, DrawUnit, DrawLesson})
        icons << LineIcon(kTreeIconSize, LinePen(kNavy, 1.1), draw);
    return icons;
}

QIcon TopBarIcon(TopBarPicture picture) {
    void (*draw)(QPainter&) = DrawClose;
    switch (picture) {
        case TopBarPicture::Shop: draw = DrawShop; break;
        case TopBarPicture::Home: draw = DrawHome; break;
        case TopBarPicture::Record: draw = DrawRecord; break;
        case TopBarPicture::Help: draw = DrawHelp; break;
        case TopBarPicture::Minimise: draw = DrawMinimise; break;
        case TopBarPicture::Close: draw = DrawClose; break;
    }
    return LineIcon(kIconSize, LinePen(Qt::white, 2.2), draw);
}

QPixmap MessageMark(bool question, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(question ? QColor(0xFF, 0xB3, 0x40) : kSkyLight);
    p.drawEllipse(QRectF(1, 1, size - 2, size - 2));
    p.setPen(Qt::white);
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setBold(true);
    font.setPixelSize(size * 2 / 3);
    p.setFont(font);
    p.drawText(pixmap.rect(), Qt::AlignCenter, question ? QStringLiteral("?") : QStringLiteral("i"));
    return pixmap;
}

void PaintSkyGradient(QPainter& painter, const QRectF& area) {
    QLinearGradient gradient(area.topLeft(), area.bottomRight());
    gradient.setColorAt(0, kSkyDark);
    gradient.setColorAt(1, kSkyLight);
    painter.fillRect(area, gradient);
}

void PaintBookMark(QPainter& painter, const QRectF& area) {
    const double w = area.width(), h = area.height();
    const QPointF o = area.topLeft();
    auto at = [&](double x, double y) { return o + QPointF(x * w, y * h); };
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(LinePen(Qt::white, std::max(1.5, w / 24)));
    painter.setBrush(QColor(255, 255, 255, 50));
    for (const double side : {-1.0, 1.0}) {
        QPainterPath page;
        page.moveTo(at(0.5, 0.25));
        page.cubicTo(at(0.5 + side * 0.15, 0.12), at(0.5 + side * 0.35, 0.12), at(0.5 + side * 0.48, 0.2));
        page.lineTo(at(0.5 + side * 0.48, 0.85));
        page.cubicTo(at(0.5 + side * 0.35, 0.77), at(0.5 + side * 0.15, 0.77), at(0.5, 0.9));
        page.closeSubpath();
        painter.drawPath(page);
    }
    painter.restore();
}

QPixmap ProgramBadge(QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    PaintTile(p, pixmap.rect());
    const double markSize = size.height() - 8.0;
    PaintBookMark(p, QRectF(6, 4, markSize, markSize));
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(std::max(10, size.height() / 2 - 2));
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(markSize + 8, 0, size.width() - markSize - 12, size.height()), Qt::AlignCenter,
               QStringLiteral("学习机"));
    return pixmap;
}

QPixmap ProgramTile(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    PaintTile(p, pixmap.rect());
    const double margin = size / 6.0;
    PaintBookMark(p, QRectF(margin, margin, size - 2 * margin, size - 2 * margin));
    return pixmap;
}

}  // namespace ov
